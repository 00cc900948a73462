#pragma once
// What a window sends through and hears from. The programs give each window a datagram endpoint
// bound to the window's port (endpoint_link); tests give recorders and hand datagrams in
// themselves.
#include <functional>
#include <memory>

#include "base/bytes.h"
#include "base/sender.h"

namespace zk {

class DatagramLink : public Sender
{
public:
    // Whether a datagram is of a kind that comes in bursts; a plain function, as the reading
    // thread asks it of every datagram.
    using BurstTest = bool (*)(ByteView datagram);

    // False when the port could not be bound (another program holds it).
    virtual bool is_bound() const = 0;
    // Broadcasts leave through the adapter with this system index; 0 for the default route.
    virtual void set_broadcast_interface(int interface_index) = 0;
    // Datagrams `of_a_burst` accepts may be gathered before they are handed over; a link that
    // gathers nothing hands each over as it comes.
    virtual void gather_bursts(BurstTest of_a_burst) { (void)of_a_burst; }
};

// Opens a window's link on `local_port`; every datagram that arrives is handed to `deliver` on
// the window thread, one call each, in arrival order.
using OpenLink = std::function<std::unique_ptr<DatagramLink>(
    int local_port, std::function<void(ByteView datagram)> deliver)>;

} // namespace zk
