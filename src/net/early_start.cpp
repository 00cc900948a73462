#include "net/early_start.h"

#include "net/endpoint_link.h"

namespace zk {

EarlyStart::EarlyStart(AdapterSource& adapters, int find_port, Dispatcher& owner)
    : adapters_(adapters), find_port_(find_port),
      deliver_(std::make_shared<std::function<void(ByteView)>>())
{
    ready_ = std::async(std::launch::async, [this, &owner] {
        early_link_ =
            open_endpoint_link(owner, find_port_, [deliver = deliver_](ByteView datagram) {
                if (*deliver) (*deliver)(datagram);
            });
        early_adapters_ = adapters_.list();
    });
}

EarlyStart::~EarlyStart()
{
    // The thread writes into this object: it must be done before any of it goes.
    if (ready_.valid()) ready_.wait();
}

void EarlyStart::wait()
{
    // Rethrows what the thread threw; the second call finds the result taken.
    if (ready_.valid()) ready_.get();
}

std::vector<Adapter> EarlyStart::list()
{
    wait();
    if (adapters_taken_) return adapters_.list();
    adapters_taken_ = true;
    return std::move(early_adapters_);
}

std::unique_ptr<DatagramLink> EarlyStart::open_link(int local_port,
                                                    std::function<void(ByteView)> deliver)
{
    wait();
    if (local_port != find_port_ || link_taken_)
        return open_endpoint_link(local_port, std::move(deliver));
    link_taken_ = true;
    *deliver_ = std::move(deliver);
    return std::move(early_link_);
}

} // namespace zk
