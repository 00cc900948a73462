#include "sim/address_sockets.h"

#include <algorithm>

namespace zk::sim {

AddressSockets::AddressSockets(std::vector<std::string> local_addresses, Handler handler)
    : local_(std::move(local_addresses)), handler_(std::move(handler))
{}

bool AddressSockets::is_local(const Ipv4& address) const
{
    // Linux answers for the whole of 127/8 on loopback, though only 127.0.0.1 is listed.
    if (address[0] == 127) return true;
    return std::find(local_.begin(), local_.end(), discovery::dotted(address, 0)) != local_.end();
}

bool AddressSockets::any_local(const NetworkModel& model) const
{
    return std::any_of(model.modules.begin(), model.modules.end(),
                       [this](const ModuleSettings& m) { return is_local(m.ip); });
}

void AddressSockets::follow(const NetworkModel& model, int port)
{
    own_.resize(model.modules.size());
    for (std::size_t i = 0; i < own_.size(); ++i) {
        const Ipv4& address = model.modules[i].ip;
        if (own_[i].address == address) continue;
        own_[i] = {address, bind(address, port)};
    }
}

std::shared_ptr<DatagramEndpoint> AddressSockets::bind(const Ipv4& address, int port)
{
    if (!is_local(address)) return nullptr;
    auto endpoint =
        std::make_shared<DatagramEndpoint>(port, discovery::dotted(address, 0), PortUse::shared);
    if (!endpoint->is_bound()) return nullptr;
    DatagramEndpoint* own = endpoint.get();
    own->on_datagram([this, own](ByteView) { handler_(*own); });
    return endpoint;
}

std::shared_ptr<DatagramEndpoint> AddressSockets::of(std::size_t index) const
{
    return index < own_.size() ? own_[index].endpoint : nullptr;
}

std::optional<Ipv4> AddressSockets::bound_address(std::size_t index) const
{
    if (index >= own_.size() || !own_[index].endpoint) return std::nullopt;
    return own_[index].address;
}

std::size_t AddressSockets::count() const
{
    return static_cast<std::size_t>(std::count_if(
        own_.begin(), own_.end(), [](const Own& own) { return own.endpoint != nullptr; }));
}

} // namespace zk::sim
