#include "net/host_addresses.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <memory>

#include "base/ipv4_text.h"
#include "net/interfaces.h"
#include "net/sockaddr_text.h"
#include "net/winsock_use.h"

namespace zk {

namespace {

// The IPv4 addresses the resolver gives for a name, in its order, each once, at most `most`.
std::vector<std::string> look_up_ipv4(const std::string& name, std::size_t most)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM; // one entry per address, not one per socket type
    addrinfo* found = nullptr;
    if (::getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0) return {};
    const std::unique_ptr<addrinfo, void (*)(addrinfo*)> owner{found, ::freeaddrinfo};
    std::vector<std::string> addresses;
    for (const addrinfo* entry = found; entry && addresses.size() < most; entry = entry->ai_next) {
        std::string address = sockaddr_ipv4_text(entry->ai_addr);
        if (!address.empty() &&
            std::find(addresses.begin(), addresses.end(), address) == addresses.end())
            addresses.push_back(std::move(address));
    }
    return addresses;
}

bool is_ipv6_literal(const std::string& text)
{
    in6_addr address{};
    return ::inet_pton(AF_INET6, text.c_str(), &address) == 1;
}

} // namespace

std::vector<std::string> host_addresses()
{
    const WinsockUse winsock;
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return look_up_ipv4(name, 10);
}

std::vector<std::string> interface_addresses()
{
    std::vector<std::string> addresses;
    for (const Interface& iface : system_interfaces()) {
        for (const InterfaceIpv4& ipv4 : iface.ipv4)
            addresses.push_back(ipv4.address);
    }
    return addresses;
}

bool is_this_pc(std::string_view dotted)
{
    if (dotted.starts_with("127.")) return true;
    const std::vector<std::string> own = interface_addresses();
    return std::find(own.begin(), own.end(), dotted) != own.end();
}

std::string resolve_ipv4(std::string_view text)
{
    if (const std::optional<Ipv4Bytes> dotted = parse_dotted_ipv4(text)) return ipv4_text(*dotted);
    // A zero byte would end the name early, so the look-up would answer for another name.
    if (text.empty() || looks_numeric(text) || text.find('\0') != std::string_view::npos) return {};
    const std::string name(text);
    const WinsockUse winsock;
    // The look-up would read a literal itself, in the C library's way (IPv6 mapped, octal, hex).
    if (is_ipv6_literal(name)) return {};
    const std::vector<std::string> found = look_up_ipv4(name, 1);
    return found.empty() ? std::string{} : found.front();
}

} // namespace zk
