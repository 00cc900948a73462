// The start-up work done beside the making of the find window: the window must get from it what
// it would have got without it, and the settings window an endpoint of its own.
#include <winsock2.h>

#include <string>
#include <utility>

#include "net/winsock_use.h"
#include "support/udp_probe.h"
#include "ui/win32/early_start.h"
#include "ui_win32/win32_fixture.h"

namespace zk::win32::test {
namespace {

// Two ports no socket holds now.
std::pair<int, int> free_ports()
{
    int ports[2] = {};
    SOCKET probes[2] = {};
    for (int i = 0; i < 2; ++i) {
        probes[i] = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        int length = sizeof address;
        bind(probes[i], reinterpret_cast<sockaddr*>(&address), sizeof address);
        getsockname(probes[i], reinterpret_cast<sockaddr*>(&address), &length);
        ports[i] = ntohs(address.sin_port);
    }
    for (const SOCKET probe : probes)
        closesocket(probe);
    return {ports[0], ports[1]};
}

TEST(early_start, the_first_list_is_the_early_one_and_a_refresh_lists_again)
{
    WinsockUse sockets;
    Win32Dispatcher dispatcher;
    CountedAdapters adapters;
    EarlyStart early(adapters, free_ports().first, dispatcher);

    EXPECT_EQ(early.list().size(), 2u);
    EXPECT_EQ(adapters.enumerations, 1);
    adapters.adapters.pop_back();
    EXPECT_EQ(early.list().size(), 1u);
    EXPECT_EQ(adapters.enumerations, 2);
}

TEST(early_start, the_find_port_gets_the_early_endpoint_and_any_other_port_its_own)
{
    WinsockUse sockets;
    Win32Dispatcher dispatcher;
    CountedAdapters adapters;
    const auto [find_port, settings_port] = free_ports();
    EarlyStart early(adapters, find_port, dispatcher);
    std::string to_find;
    std::string to_settings;
    const auto text_into = [](std::string& text) {
        return [&text](ByteView datagram) { text.assign(datagram.begin(), datagram.end()); };
    };

    // Asked for first, the settings window's link would get the find window's endpoint if its
    // port were not looked at.
    const auto settings = early.open_link(settings_port, text_into(to_settings));
    const auto find = early.open_link(find_port, text_into(to_find));
    ASSERT_TRUE(settings->is_bound());
    ASSERT_TRUE(find->is_bound());
    zk::test::UdpProbe sender;
    sender.send_to(static_cast<std::uint16_t>(find_port), Bytes{'f', 'i', 'n', 'd'});
    sender.send_to(static_cast<std::uint16_t>(settings_port), Bytes{'s', 'e', 't'});
    pump_for(std::chrono::seconds(3), [&] { return !to_find.empty() && !to_settings.empty(); });

    EXPECT_EQ(to_find, "find");
    EXPECT_EQ(to_settings, "set");
}

} // namespace
} // namespace zk::win32::test
