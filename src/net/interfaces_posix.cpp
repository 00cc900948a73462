// Linux: getifaddrs gives one entry per link (AF_PACKET, with the MAC) and one per address.
#ifndef _WIN32

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <netpacket/packet.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "net/interfaces.h"
#include "net/sockaddr_text.h"

namespace zk {

namespace {

constexpr std::size_t mac_length = 6;

// The interface an entry belongs to, created on its first entry so the system's order holds. An
// address with a label ("eth0:1") belongs to its device, whose index the label resolves to.
Interface& interface_of(std::vector<Interface>& all, const ifaddrs& entry, int index)
{
    const auto known = std::find_if(all.begin(), all.end(),
                                    [index](const Interface& i) { return i.index == index; });
    if (known != all.end()) return *known;
    char name[IF_NAMESIZE] = {};
    Interface& added = all.emplace_back();
    added.name = ::if_indextoname(static_cast<unsigned>(index), name) ? name : entry.ifa_name;
    added.index = index;
    added.loopback = (entry.ifa_flags & IFF_LOOPBACK) != 0;
    added.connected = (entry.ifa_flags & IFF_UP) != 0 && (entry.ifa_flags & IFF_RUNNING) != 0;
    return added;
}

void take_address(Interface& iface, const ifaddrs& entry)
{
    if (entry.ifa_addr->sa_family == AF_PACKET) {
        const auto* link = reinterpret_cast<const sockaddr_ll*>(entry.ifa_addr);
        if (link->sll_halen == mac_length)
            iface.mac.assign(link->sll_addr, link->sll_addr + mac_length);
    } else if (entry.ifa_addr->sa_family == AF_INET) {
        iface.ipv4.push_back(
            {sockaddr_ipv4_text(entry.ifa_addr), sockaddr_ipv4_text(entry.ifa_netmask)});
    }
}

} // namespace

std::vector<Interface> system_interfaces()
{
    ifaddrs* head = nullptr;
    if (::getifaddrs(&head) != 0) return {};
    const std::unique_ptr<ifaddrs, void (*)(ifaddrs*)> owner{head, ::freeifaddrs};
    std::vector<Interface> all;
    // Each look-up of a name opens a socket of its own: once per name, not per address.
    std::vector<std::pair<std::string, unsigned>> indexes;
    const auto index_of = [&indexes](const char* name) {
        const auto known = std::find_if(indexes.begin(), indexes.end(),
                                        [name](const auto& pair) { return pair.first == name; });
        if (known != indexes.end()) return known->second;
        return indexes.emplace_back(name, ::if_nametoindex(name)).second;
    };
    for (const ifaddrs* entry = head; entry; entry = entry->ifa_next) {
        const unsigned index = index_of(entry->ifa_name);
        if (index == 0) continue; // gone since the list was taken
        Interface& iface = interface_of(all, *entry, static_cast<int>(index));
        if (entry->ifa_addr) take_address(iface, *entry);
    }
    return all;
}

} // namespace zk

#endif
