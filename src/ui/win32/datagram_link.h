#pragma once
// What a window sends through and hears from. The program gives each window a datagram endpoint
// bound to the window's port; tests give recorders and hand datagrams in themselves.
#include <functional>
#include <memory>

#include "base/bytes.h"
#include "base/sender.h"

namespace zk::win32 {

class DatagramLink : public Sender
{
public:
    // False when the port could not be bound (another program holds it).
    virtual bool is_bound() const = 0;
    // Broadcasts leave through the adapter with this system index; 0 for the default route.
    virtual void set_broadcast_interface(int interface_index) = 0;
};

// Opens a window's link on `local_port`; every datagram that arrives is handed to `deliver` on
// the window thread, one call each, in arrival order.
using OpenLink = std::function<std::unique_ptr<DatagramLink>(
    int local_port, std::function<void(ByteView datagram)> deliver)>;

} // namespace zk::win32
