#include "net/adapters.h"

#include <gtest/gtest.h>

#include <set>

#include "base/ipv4_text.h"
#include "base/values.h"

#ifndef _WIN32
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zk {
namespace {

bool is_contiguous_netmask(const std::string& netmask)
{
    const std::optional<Ipv4Bytes> bytes = parse_dotted_ipv4(netmask);
    if (!bytes) return false;
    const std::uint32_t mask = read_be32(*bytes, 0);
    return (~mask & (~mask + 1)) == 0; // the zero bits, plus one, form a power of two
}

// Holds on any system, so it also runs where the system's own tables cannot be read beside the
// list (under Windows): a listed loopback, a missing or repeated index, a garbled address or a
// netmask taken from the wrong field all break it.
TEST(system_adapters, every_entry_is_a_usable_non_loopback_adapter)
{
    std::set<int> indexes;
    for (const Adapter& adapter : SystemAdapters().list()) {
        SCOPED_TRACE(adapter.text);
        EXPECT_GT(adapter.interface_index, 0);
        EXPECT_TRUE(indexes.insert(adapter.interface_index).second) << "index listed twice";
        EXPECT_TRUE(adapter.mac.empty() || adapter.mac.size() == 6);
        if (adapter.first_ipv4.empty()) {
            EXPECT_EQ(adapter.netmask, "");
            continue;
        }
        const std::optional<Ipv4Bytes> address = parse_dotted_ipv4(adapter.first_ipv4);
        ASSERT_TRUE(address);
        EXPECT_NE((*address)[0], 127) << "loopback listed";
        EXPECT_TRUE(is_contiguous_netmask(adapter.netmask)) << adapter.netmask;
    }
}

// The kernel's link flags (include/uapi/linux/if.h), spelt out for the Windows build, which reads
// the Linux host's files when Wine runs it.
constexpr unsigned long link_up = 0x1;
constexpr unsigned long link_loopback = 0x8;

struct SysfsLink
{
    std::string name;
    int index = 0;
    Bytes mac;
    bool connected = false;
    std::string state; // operstate: up, down, lowerlayerdown, unknown...
};

std::string file_line(const std::filesystem::path& path)
{
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// The links /sys/class/net lists, loopback left out, by index as Linux enumerates them.
std::vector<SysfsLink> links_by_sysfs(const std::filesystem::path& root)
{
    std::vector<SysfsLink> links;
    for (const auto& entry : std::filesystem::directory_iterator(root)) {
        const unsigned long flags = std::stoul(file_line(entry.path() / "flags"), nullptr, 16);
        if (flags & link_loopback) continue;
        const std::string state = file_line(entry.path() / "operstate");
        links.push_back({entry.path().filename().string(),
                         std::stoi(file_line(entry.path() / "ifindex")),
                         parse_mac(file_line(entry.path() / "address")).value_or(Bytes{}),
                         // The kernel's IFF_RUNNING: up, and operationally up or unknown.
                         (flags & link_up) && (state == "up" || state == "unknown"), state});
    }
    std::sort(links.begin(), links.end(),
              [](const SysfsLink& a, const SysfsLink& b) { return a.index < b.index; });
    return links;
}

// One adapter as a line, so that a mismatch shows every field of both sides.
std::string line_of(const std::string& text,
                    int index,
                    const Bytes& mac,
                    const std::string& connected,
                    const std::string& ipv4)
{
    return text + " | " + std::to_string(index) + " | " + mac_text(mac) + " | " + connected +
           " | " + ipv4;
}

std::string connected_text(bool connected)
{
    return connected ? "connected" : "not connected";
}

#ifdef _WIN32

// The Linux host's links, seen through Wine's drive for its root; absent on Windows itself.
const std::filesystem::path sysfs_net = "Z:/sys/class/net";

struct OnLinkRoute
{
    std::string device;
    std::uint32_t network = 0; // as /proc/net/route writes it: the host's (little-endian) order
    std::uint32_t mask = 0;
};

// The host's routes without a gateway other than the default one: one per subnet of an address.
std::vector<OnLinkRoute> on_link_routes()
{
    std::ifstream file("Z:/proc/net/route");
    std::string line;
    std::getline(file, line); // the column names
    std::vector<OnLinkRoute> routes;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string device, network, gateway, skip, mask;
        fields >> device >> network >> gateway >> skip >> skip >> skip >> skip >> mask;
        if (gateway == "00000000" && mask != "00000000")
            routes.push_back({device, static_cast<std::uint32_t>(std::stoul(network, nullptr, 16)),
                              static_cast<std::uint32_t>(std::stoul(mask, nullptr, 16))});
    }
    return routes;
}

// An address in the byte order /proc/net/route writes on a little-endian host.
std::uint32_t route_order(const std::string& dotted)
{
    const Ipv4Bytes bytes = parse_dotted_ipv4(dotted).value_or(Ipv4Bytes{});
    return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
           std::uint32_t{bytes[3]} << 24;
}

// Wine takes a link that is up without a carrier for connected (measured: a veth whose peer is
// down); Windows reports its own carriers, so under Wine only links up, down or without a carrier
// notion are compared on that point.
std::string carrier_text(bool connected, const std::string& state)
{
    const bool seen = state == "up" || state == "down" || state == "unknown";
    return seen ? connected_text(connected) : "carrier not seen by Wine";
}

std::string state_of(int index)
{
    for (const SysfsLink& link : links_by_sysfs(sysfs_net))
        if (link.index == index) return link.state;
    return "missing";
}

// No route leads to the host's addresses from here: the name stands for the text, and the first
// address with its netmask must name one of the link's subnets.
std::string listed_line(const Adapter& adapter, const std::string& name)
{
    std::string ipv4;
    if (!adapter.first_ipv4.empty()) {
        const std::uint32_t mask = route_order(adapter.netmask);
        const std::uint32_t network = route_order(adapter.first_ipv4) & mask;
        const auto subnets = [&](const OnLinkRoute& r) {
            return r.device == name && r.network == network && r.mask == mask;
        };
        const std::vector<OnLinkRoute> routes = on_link_routes();
        ipv4 = std::any_of(routes.begin(), routes.end(), subnets)
                   ? "on a subnet"
                   : adapter.first_ipv4 + " / " + adapter.netmask + " on no subnet of the host";
    }
    return line_of(name, adapter.interface_index, adapter.mac,
                   carrier_text(adapter.connected, state_of(adapter.interface_index)), ipv4);
}

std::string listed_line(const Adapter& adapter)
{
    const std::string suffix = adapter.connected && !adapter.first_ipv4.empty()
                                   ? " " + adapter.first_ipv4
                                   : std::string(" (未连接)");
    const std::string name = adapter.text.ends_with(suffix)
                                 ? adapter.text.substr(0, adapter.text.size() - suffix.size())
                                 : adapter.text;
    return listed_line(adapter, name);
}

std::string expected_line(const SysfsLink& link)
{
    const std::vector<OnLinkRoute> routes = on_link_routes();
    const bool addressed = std::any_of(routes.begin(), routes.end(),
                                       [&](const OnLinkRoute& r) { return r.device == link.name; });
    return line_of(link.name, link.index, link.mac, carrier_text(link.connected, link.state),
                   addressed ? "on a subnet" : "");
}

#else

const std::filesystem::path sysfs_net = "/sys/class/net";

// The first IPv4 address or netmask of a link as the older ioctl interface reports it. (It
// reads the first address labelled with the link's own name: on a link whose first address has
// an alias label, "eth0:1", the two routes differ and this test says so.)
std::string ioctl_ipv4(const std::string& name, unsigned long request)
{
    const int probe = ::socket(AF_INET, SOCK_DGRAM, 0);
    ifreq query{};
    std::strncpy(query.ifr_name, name.c_str(), IFNAMSIZ - 1);
    const bool found = probe >= 0 && ::ioctl(probe, request, &query) == 0;
    if (probe >= 0) ::close(probe);
    if (!found) return {};
    Ipv4Bytes bytes{};
    std::memcpy(bytes.data(), query.ifr_addr.sa_data + 2, 4); // after the port, as in sockaddr_in
    return ipv4_text(bytes);
}

std::string listed_line(const Adapter& adapter)
{
    return line_of(adapter.text, adapter.interface_index, adapter.mac,
                   connected_text(adapter.connected), adapter.first_ipv4 + " / " + adapter.netmask);
}

std::string expected_line(const SysfsLink& link)
{
    const std::string address = ioctl_ipv4(link.name, SIOCGIFADDR);
    const std::string netmask = address.empty() ? "" : ioctl_ipv4(link.name, SIOCGIFNETMASK);
    return line_of(adapter_text(link.name, address, link.connected), link.index, link.mac,
                   connected_text(link.connected), address + " / " + netmask);
}

#endif

std::vector<std::string> expected_lines()
{
    std::vector<std::string> lines;
    for (const SysfsLink& link : links_by_sysfs(sysfs_net))
        lines.push_back(expected_line(link));
    return lines;
}

// Compared with what the kernel's own files say, by another route than the one under test.
TEST(system_adapters, list_matches_the_kernels_links_in_index_order)
{
    std::error_code error;
    if (!std::filesystem::is_directory(sysfs_net, error)) GTEST_SKIP() << "no Linux host below";
    // Links can come and go while both are read (other tests make namespaces): read again until
    // the kernel's view held still across the listing.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::vector<std::string> before = expected_lines();
        std::vector<std::string> listed;
        for (const Adapter& adapter : SystemAdapters().list())
            listed.push_back(listed_line(adapter));
        if (before != expected_lines()) continue;
        EXPECT_EQ(listed, before);
        return;
    }
    FAIL() << "the links kept changing while they were read";
}

} // namespace
} // namespace zk
