#pragma once
// What handlers send through: a datagram endpoint in the program, a recorder in tests.
#include <string_view>

#include "base/bytes.h"

namespace zk {

// What the operator sees when the endpoint refuses a datagram (unresolvable name, port not bound).
inline constexpr std::string_view msg_send_failed = "发送失败";

class Sender
{
public:
    virtual ~Sender() = default;
    // Sends one datagram. A non-empty address is a unicast to that IPv4 address or host name;
    // an empty one is a broadcast to 255.255.255.255. A port below 1 means 1. Empty data sends
    // nothing and succeeds. True when the whole datagram was handed to the network.
    virtual bool send(std::string_view address, int port, ByteView data) = 0;
};

} // namespace zk
