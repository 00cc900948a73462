// The start-up work done beside the making of the find window: the window must get from it what
// it would have got without it, and the settings window an endpoint of its own.
#include "net/early_start.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "net/dispatcher.h"
#include "support/counted_adapters.h"
#include "support/udp_probe.h"
#include "support/wait.h"

namespace zk {
namespace {

using test::CountedAdapters;

// Two ports no socket holds now.
std::pair<int, int> free_ports()
{
    const test::UdpProbe first;
    const test::UdpProbe second;
    return {first.port(), second.port()};
}

TEST(early_start, the_first_list_is_the_early_one_and_a_refresh_lists_again)
{
    CountedAdapters adapters;
    EarlyStart early(adapters, free_ports().first, Dispatcher::current());

    EXPECT_EQ(early.list().size(), 2u);
    EXPECT_EQ(adapters.enumerations, 1);
    adapters.adapters.pop_back();
    EXPECT_EQ(early.list().size(), 1u);
    EXPECT_EQ(adapters.enumerations, 2);
}

TEST(early_start, the_find_port_gets_the_early_endpoint_and_any_other_port_its_own)
{
    CountedAdapters adapters;
    const auto [find_port, settings_port] = free_ports();
    EarlyStart early(adapters, find_port, Dispatcher::current());
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
    test::UdpProbe sender;
    sender.send_to(static_cast<std::uint16_t>(find_port), Bytes{'f', 'i', 'n', 'd'});
    sender.send_to(static_cast<std::uint16_t>(settings_port), Bytes{'s', 'e', 't'});
    test::wait_until([&] { return !to_find.empty() && !to_settings.empty(); });

    EXPECT_EQ(to_find, "find");
    EXPECT_EQ(to_settings, "set");
}

} // namespace
} // namespace zk
