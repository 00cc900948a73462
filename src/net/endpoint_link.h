#pragma once
// A window's link over the datagram endpoint: the programs', bound to the window's real port.
#include "net/datagram_endpoint.h"
#include "net/datagram_link.h"

namespace zk {

class EndpointLink final : public DatagramLink
{
public:
    // Binds 0.0.0.0:local_port exclusively, asks for `receive_buffer`, and hands every datagram
    // to `deliver` on the thread of `owner`.
    EndpointLink(Dispatcher& owner,
                 int local_port,
                 std::function<void(ByteView)> deliver,
                 int receive_buffer = DatagramEndpoint::wanted_receive_buffer);

    bool send(std::string_view address, int port, ByteView data) override;
    bool is_bound() const override;
    void set_broadcast_interface(int interface_index) override;
    void gather_bursts(BurstTest of_a_burst) override;
    DatagramEndpoint& endpoint() { return endpoint_; }

private:
    DatagramEndpoint endpoint_;
};

// An EndpointLink handing datagrams to `deliver` on the thread that opened it.
std::unique_ptr<DatagramLink> open_endpoint_link(int local_port,
                                                 std::function<void(ByteView)> deliver);
// The same from any thread, handing datagrams to `deliver` on the thread of `owner`.
std::unique_ptr<DatagramLink>
open_endpoint_link(Dispatcher& owner, int local_port, std::function<void(ByteView)> deliver);

// An OpenLink of EndpointLinks, each handing its datagrams to the thread that opened it and asking
// for `receive_buffer`; `opened` is set to the endpoint of each link opened, for the window's use.
OpenLink endpoint_links(DatagramEndpoint*& opened,
                        int receive_buffer = DatagramEndpoint::wanted_receive_buffer);

} // namespace zk
