#include "net/datagram_endpoint.h"

#include "base/ipv4_text.h"
#include "net/datagram_endpoint_self.h"
#include "net/datagram_endpoint_thread.h"
#include "net/dispatcher.h"
#include "net/host_addresses.h"

namespace zk {

namespace {

Peer peer(const detail::SocketAddress& address)
{
    return {ipv4_text(ipv4_bytes(address.address)), address.port};
}

} // namespace

DatagramEndpoint::DatagramEndpoint(int local_port) : DatagramEndpoint(local_port, "0.0.0.0") {}

DatagramEndpoint::DatagramEndpoint(int local_port,
                                   std::string_view bind_address,
                                   PortUse use,
                                   int receive_buffer)
    : DatagramEndpoint(Dispatcher::current(), local_port, bind_address, use, receive_buffer)
{}

DatagramEndpoint::DatagramEndpoint(Dispatcher& owner,
                                   int local_port,
                                   std::string_view bind_address,
                                   PortUse use,
                                   int receive_buffer)
    : owner_(owner), own_(std::make_unique<detail::OwnDatagrams>(std::string(bind_address))),
      requested_port_(local_port < 0 ? 1 : local_port)
{
    // Wake-ups still queued when the endpoint goes, from its own handler say, find it gone.
    socket_ = std::make_unique<detail::SocketThread>([this, alive = alive_] {
        owner_.post([this, alive] {
            if (*alive) deliver();
        });
    });
    const std::optional<std::uint32_t> local = parse_ipv4_number(bind_address);
    if (!local) {
        bind_error_ = std::string(bind_address) + " is not an IPv4 address";
        return;
    }
    bind_error_ = socket_->bind({*local, static_cast<std::uint16_t>(requested_port_)},
                                use == PortUse::shared, receive_buffer);
    bound_ = bind_error_.empty();
}

DatagramEndpoint::~DatagramEndpoint()
{
    *alive_ = false;
}

bool DatagramEndpoint::is_bound() const
{
    return bound_;
}

int DatagramEndpoint::local_port() const
{
    return bound_ ? socket_->local_port() : requested_port_;
}

int DatagramEndpoint::receive_buffer_size() const
{
    return bound_ ? socket_->receive_buffer_size() : 0;
}

void DatagramEndpoint::on_datagram(Handler handler)
{
    handler_ = std::move(handler);
}

ByteView DatagramEndpoint::received() const
{
    if (!current_) return {};
    return current_->data;
}

Peer DatagramEndpoint::received_from() const
{
    if (!current_) return {};
    return peer(current_->from);
}

Peer DatagramEndpoint::received_at() const
{
    if (!current_) return {};
    return peer(current_->to);
}

void DatagramEndpoint::gather_bursts(BurstTest of_a_burst)
{
    socket_->gather_bursts(of_a_burst);
}

void DatagramEndpoint::set_broadcast_interface(int interface_index)
{
    broadcast_interface_ = interface_index;
}

void DatagramEndpoint::deliver()
{
    // A handler may close the window that owns this endpoint; stop touching it if so.
    const std::shared_ptr<bool> alive = alive_;
    std::vector<detail::Arrived> arrived = socket_->take();
    for (const detail::Arrived& datagram : arrived) {
        // Only a datagram from the endpoint's own port can be its own: the address text is made
        // for those alone, not for every answer of a burst.
        if (!handler_ || (datagram.from.port == local_port() &&
                          own_->is_own(ipv4_text(ipv4_bytes(datagram.from.address)),
                                       datagram.from.port, local_port())))
            continue;
        current_ = &datagram;
        handler_(datagram.data);
        if (!*alive) return;
        current_ = nullptr;
    }
    socket_->give_back(std::move(arrived));
}

bool DatagramEndpoint::send(std::string_view address, int port, ByteView data)
{
    if (!bound_) return false;
    if (data.empty()) return true;
    const ByteView one[] = {data};
    return send_all(address, port, one).front();
}

std::vector<bool> DatagramEndpoint::send_all(std::string_view address,
                                             int port,
                                             std::span<const ByteView> datagrams,
                                             std::string_view from)
{
    if (!bound_) return std::vector<bool>(datagrams.size(), false);
    // Above 65535 names no port; cutting it down would send to some other program.
    if (port > 65535) return std::vector<bool>(datagrams.size(), false);
    detail::SocketAddress to{detail::broadcast_address,
                             static_cast<std::uint16_t>(port < 1 ? 1 : port)};
    if (!address.empty()) {
        const std::optional<std::uint32_t> target = parse_ipv4_number(resolve_ipv4(address));
        if (!target) return std::vector<bool>(datagrams.size(), false);
        to.address = *target;
    }
    // An address this PC does not have is refused by the system: asking it first for every
    // datagram of a burst doubled the sends.
    const std::uint32_t source = from.empty() || !own_->is_local(std::string(from))
                                     ? 0
                                     : parse_ipv4_number(from).value_or(0);
    return socket_->write_all(to, datagrams, broadcast_interface_, source);
}

} // namespace zk
