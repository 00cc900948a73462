// Which adapter zkctl broadcasts through, over adapter lists as PCs report them.
#include <gtest/gtest.h>

#include "cli/adapter_choice.h"
#include "cli/outcome.h"

namespace zk::cli {
namespace {

const Adapter eth0{"eth0 10.1.2.5", 2, "10.1.2.5", true};
const Adapter eth1_pulled{"eth1 (未连接)", 3, "", false};
const Adapter wlan0{"wlan0 192.168.1.7", 4, "192.168.1.7", true};
const Adapter ethernet_2{"Ethernet 2 10.9.0.1", 7, "10.9.0.1", true};

struct ChoiceCase
{
    const char* what;
    std::vector<Adapter> adapters;
    std::string name;
    int chosen_index; // 0: refused with `message`
    std::string message;
};

TEST(adapter_choice, named_or_first_up_with_an_address_else_the_adapters_are_listed)
{
    const std::string how = "--adapter NAME or --adapter ADDRESS";
    const ChoiceCase cases[] = {
        {"the only one up, past a pulled cable", {eth1_pulled, eth0}, "", 2, ""},
        {"several up: the first, and the others are named",
         {eth0, eth1_pulled, wlan0, ethernet_2},
         "",
         2,
         "using eth0 10.1.2.5, the first of 3 adapters up (also wlan0 192.168.1.7, Ethernet 2 "
         "10.9.0.1); name another with " +
             how},
        {"by interface name", {eth0, wlan0}, "wlan0", 4, ""},
        {"by a name with a space", {eth0, ethernet_2}, "Ethernet 2", 7, ""},
        {"by address", {eth0, wlan0}, "192.168.1.7", 4, ""},
        {"a pulled cable by name", {eth0, eth1_pulled}, "eth1", 3, ""},
        {"none up",
         {eth1_pulled},
         "",
         0,
         "no network adapter is up with an IPv4 address (adapters: eth1 (未连接)); connect one, "
         "or name it with " +
             how},
        {"no adapter at all",
         {},
         "",
         0,
         "no network adapter is up with an IPv4 address (adapters: none); connect one, or name "
         "it with " +
             how},
        {"an unknown name",
         {eth0, eth1_pulled},
         "wlan0",
         0,
         "--adapter: no adapter \"wlan0\" (adapters: eth0 10.1.2.5, eth1 (未连接))"},
        {"a part of a name",
         {ethernet_2},
         "Ethernet",
         0,
         "--adapter: no adapter \"Ethernet\" (adapters: Ethernet 2 10.9.0.1)"},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            const AdapterChoice choice = choose_adapter(c.adapters, c.name);
            EXPECT_EQ(choice.adapter.interface_index, c.chosen_index);
            EXPECT_EQ(choice.note, c.message);
        } catch (const Exit& refused) {
            EXPECT_EQ(c.chosen_index, 0);
            EXPECT_EQ(refused.code(), exit_local_error);
            EXPECT_EQ(refused.what(), c.message);
        }
    }
}

} // namespace
} // namespace zk::cli
