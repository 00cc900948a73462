#pragma once
// A window's link over the datagram endpoint: the program's, bound to the window's real port.
#include "ui/win32/datagram_link.h"

namespace zk {
class Dispatcher;
}

namespace zk::win32 {

// Binds 0.0.0.0:local_port exclusively, asks for the endpoint's receive buffer, and hands every
// datagram to `deliver` on the thread that opened it (through its dispatcher).
std::unique_ptr<DatagramLink> open_endpoint_link(int local_port,
                                                 std::function<void(ByteView)> deliver);
// The same from any thread, handing datagrams to `deliver` on the thread of `owner`.
std::unique_ptr<DatagramLink>
open_endpoint_link(Dispatcher& owner, int local_port, std::function<void(ByteView)> deliver);

} // namespace zk::win32
