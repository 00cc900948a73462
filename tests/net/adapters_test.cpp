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

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#endif

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

#ifndef _WIN32

std::string file_line(const std::filesystem::path& path)
{
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// The primary IPv4 address or netmask of an interface as the older ioctl interface reports it.
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

// One adapter as a line, so a mismatch shows every field of both sides.
std::string line_of(const Adapter& adapter)
{
    return adapter.text + " | " + std::to_string(adapter.interface_index) + " | " +
           adapter.first_ipv4 + " / " + adapter.netmask + " | " + mac_text(adapter.mac) + " | " +
           (adapter.connected ? "connected" : "not connected");
}

// What /sys/class/net and the ioctl interface say, by another route than the one under test.
std::vector<std::string> adapters_by_sysfs()
{
    std::vector<std::pair<int, std::string>> found;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/class/net")) {
        const unsigned long flags = std::stoul(file_line(entry.path() / "flags"), nullptr, 16);
        if (flags & IFF_LOOPBACK) continue;
        const std::string name = entry.path().filename().string();
        const std::string state = file_line(entry.path() / "operstate");
        // The kernel's IFF_RUNNING: administratively up and operationally up or unknown.
        const bool connected = (flags & IFF_UP) && (state == "up" || state == "unknown");
        Adapter adapter;
        adapter.first_ipv4 = ioctl_ipv4(name, SIOCGIFADDR);
        adapter.netmask = adapter.first_ipv4.empty() ? "" : ioctl_ipv4(name, SIOCGIFNETMASK);
        adapter.text = adapter_text(name, adapter.first_ipv4, connected);
        adapter.interface_index = std::stoi(file_line(entry.path() / "ifindex"));
        adapter.connected = connected;
        adapter.mac = parse_mac(file_line(entry.path() / "address")).value_or(Bytes{});
        found.emplace_back(adapter.interface_index, line_of(adapter));
    }
    std::sort(found.begin(), found.end()); // Linux lists its links by index
    std::vector<std::string> lines;
    for (const auto& [index, line] : found)
        lines.push_back(line);
    return lines;
}

TEST(system_adapters, list_matches_what_sysfs_says_in_index_order)
{
    // Interfaces can come and go while the two are read (other tests make namespaces): read
    // again until the system's view held still across the list.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::vector<std::string> before = adapters_by_sysfs();
        std::vector<std::string> listed;
        for (const Adapter& adapter : SystemAdapters().list())
            listed.push_back(line_of(adapter));
        if (before != adapters_by_sysfs()) continue;
        EXPECT_EQ(listed, before);
        return;
    }
    FAIL() << "the interfaces kept changing while they were read";
}

#endif

} // namespace
} // namespace zk
