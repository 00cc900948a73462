#include "net/adapters.h"

#include "net/interfaces.h"

namespace zk {

std::vector<Adapter> SystemAdapters::list()
{
    std::vector<Adapter> adapters;
    for (const Interface& interface : system_interfaces()) {
        if (interface.loopback) continue;
        const InterfaceIpv4 first = interface.ipv4.empty() ? InterfaceIpv4{} : interface.ipv4[0];
        adapters.push_back({adapter_text(interface.name, first.address, interface.connected),
                            interface.index, first.address, interface.connected, first.netmask,
                            interface.mac});
    }
    return adapters;
}

} // namespace zk
