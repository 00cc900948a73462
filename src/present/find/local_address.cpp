#include "present/find/local_address.h"

#include <algorithm>

namespace zk::present {

namespace {

bool is_loopback(const std::string& address)
{
    return address.starts_with("127.");
}

bool is_usable(const std::string& address)
{
    return !address.empty() && !is_loopback(address);
}

} // namespace

std::string shown_local_address(const std::vector<std::string>& host_addresses,
                                const std::vector<Adapter>& adapters,
                                int selected_adapter)
{
    if (std::any_of(host_addresses.begin(), host_addresses.end(), is_usable))
        return host_addresses.front();
    if (selected_adapter >= 0 && static_cast<std::size_t>(selected_adapter) < adapters.size()) {
        const std::string& chosen = adapters[static_cast<std::size_t>(selected_adapter)].first_ipv4;
        if (is_usable(chosen)) return chosen;
    }
    for (const Adapter& adapter : adapters) {
        if (is_usable(adapter.first_ipv4)) return adapter.first_ipv4;
    }
    return host_addresses.empty() ? std::string{} : host_addresses.front();
}

} // namespace zk::present
