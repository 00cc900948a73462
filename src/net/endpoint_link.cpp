#include "net/endpoint_link.h"

#include "net/dispatcher.h"

namespace zk {

EndpointLink::EndpointLink(Dispatcher& owner,
                           int local_port,
                           std::function<void(ByteView)> deliver,
                           int receive_buffer)
    : endpoint_(owner, local_port, "0.0.0.0", PortUse::exclusive, receive_buffer)
{
    endpoint_.on_datagram(std::move(deliver));
}

bool EndpointLink::send(std::string_view address, int port, ByteView data)
{
    return endpoint_.send(address, port, data);
}

bool EndpointLink::is_bound() const
{
    return endpoint_.is_bound();
}

void EndpointLink::set_broadcast_interface(int interface_index)
{
    endpoint_.set_broadcast_interface(interface_index);
}

void EndpointLink::gather_bursts(BurstTest of_a_burst)
{
    endpoint_.gather_bursts(of_a_burst);
}

std::unique_ptr<DatagramLink> open_endpoint_link(int local_port,
                                                 std::function<void(ByteView)> deliver)
{
    return open_endpoint_link(Dispatcher::current(), local_port, std::move(deliver));
}

std::unique_ptr<DatagramLink>
open_endpoint_link(Dispatcher& owner, int local_port, std::function<void(ByteView)> deliver)
{
    return std::make_unique<EndpointLink>(owner, local_port, std::move(deliver));
}

OpenLink endpoint_links(DatagramEndpoint*& opened, int receive_buffer)
{
    return [&opened, receive_buffer](int port, std::function<void(ByteView)> deliver) {
        auto link = std::make_unique<EndpointLink>(Dispatcher::current(), port, std::move(deliver),
                                                   receive_buffer);
        opened = &link->endpoint();
        return std::unique_ptr<DatagramLink>(std::move(link));
    };
}

} // namespace zk
