// Windows: GetAdaptersAddresses lists every adapter with its unicast addresses and MAC.
#ifdef _WIN32

#include <winsock2.h>
#include <ws2tcpip.h>
// After the socket headers, whose types it uses.
#include <iphlpapi.h>

#include <cstdint>

#include "base/ipv4_text.h"
#include "net/interfaces.h"
#include "net/sockaddr_text.h"

namespace zk {

namespace {

constexpr ULONG mac_length = 6;

std::string utf8_of(const wchar_t* wide)
{
    if (!wide || !*wide) return {};
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return {};
    std::string text(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), bytes, nullptr, nullptr);
    text.pop_back(); // the terminating zero the length counted
    return text;
}

// The system's table in storage aligned for its records; empty when it refuses to say. The table
// can grow between asking its size and reading it, so a few tries.
std::vector<std::uint64_t> adapter_table()
{
    constexpr ULONG flags =
        GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    ULONG size = 16 * 1024;
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::vector<std::uint64_t> table((size + sizeof(std::uint64_t) - 1) /
                                         sizeof(std::uint64_t));
        auto* first = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(table.data());
        const ULONG result = ::GetAdaptersAddresses(AF_UNSPEC, flags, nullptr, first, &size);
        if (result == NO_ERROR) return table;
        if (result != ERROR_BUFFER_OVERFLOW) return {};
    }
    return {};
}

Interface interface_of(const IP_ADAPTER_ADDRESSES& adapter)
{
    Interface iface;
    iface.name = utf8_of(adapter.FriendlyName);
    // IfIndex is zero on an adapter without IPv4; its IPv6 index still names it.
    iface.index = static_cast<int>(adapter.IfIndex ? adapter.IfIndex : adapter.Ipv6IfIndex);
    iface.loopback = adapter.IfType == IF_TYPE_SOFTWARE_LOOPBACK;
    iface.connected = adapter.OperStatus == IfOperStatusUp;
    if (adapter.PhysicalAddressLength == mac_length)
        iface.mac.assign(adapter.PhysicalAddress, adapter.PhysicalAddress + mac_length);
    for (const IP_ADAPTER_UNICAST_ADDRESS* unicast = adapter.FirstUnicastAddress; unicast;
         unicast = unicast->Next) {
        std::string address = sockaddr_ipv4_text(unicast->Address.lpSockaddr);
        if (!address.empty())
            iface.ipv4.push_back(
                {std::move(address), prefix_netmask_text(unicast->OnLinkPrefixLength)});
    }
    return iface;
}

} // namespace

std::vector<Interface> system_interfaces()
{
    const std::vector<std::uint64_t> table = adapter_table();
    std::vector<Interface> all;
    if (table.empty()) return all;
    for (auto* adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(table.data()); adapter;
         adapter = adapter->Next)
        all.push_back(interface_of(*adapter));
    return all;
}

} // namespace zk

#endif
