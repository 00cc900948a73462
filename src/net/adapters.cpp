#include "net/adapters.h"

#include "net/interfaces.h"

namespace zk {

std::vector<Adapter> SystemAdapters::list()
{
    std::vector<Adapter> adapters;
    for (const Interface& iface : system_interfaces()) {
        if (iface.loopback) continue;
        const InterfaceIpv4 first = iface.ipv4.empty() ? InterfaceIpv4{} : iface.ipv4[0];
        adapters.push_back({adapter_text(iface.name, first.address, iface.connected), iface.index,
                            first.address, iface.connected, first.netmask, iface.mac});
    }
    return adapters;
}

} // namespace zk
