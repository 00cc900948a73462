#include "ui/win32/endpoint_link.h"

#include "discovery/config_datagram.h"
#include "net/datagram_endpoint.h"
#include "net/dispatcher.h"

namespace zk::win32 {

namespace {

class EndpointLink final : public DatagramLink
{
public:
    EndpointLink(Dispatcher& owner, int local_port, std::function<void(ByteView)> deliver)
        : endpoint_(owner,
                    local_port,
                    "0.0.0.0",
                    PortUse::exclusive,
                    DatagramEndpoint::wanted_receive_buffer)
    {
        endpoint_.on_datagram(std::move(deliver));
        endpoint_.gather_bursts(discovery::comes_in_bursts);
    }

    bool send(std::string_view address, int port, ByteView data) override
    {
        return endpoint_.send(address, port, data);
    }
    bool is_bound() const override { return endpoint_.is_bound(); }
    void set_broadcast_interface(int interface_index) override
    {
        endpoint_.set_broadcast_interface(interface_index);
    }

private:
    DatagramEndpoint endpoint_;
};

} // namespace

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

} // namespace zk::win32
