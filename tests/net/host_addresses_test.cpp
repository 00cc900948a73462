#include "net/host_addresses.h"

#include <gtest/gtest.h>

namespace zk {
namespace {

TEST(host_addresses, dotted_text_is_read_as_decimal_and_numeric_forms_are_never_looked_up)
{
    const std::pair<const char*, const char*> cases[] = {
        {"127.000.000.010", "127.0.0.10"}, // octal would be 127.0.0.8
        {"010.066.000.002", "10.66.0.2"},
        {"10.1", ""},       // the C library's 10.0.0.1
        {"0x7f.0.0.1", ""}, // and its 127.0.0.1
        {"2130706433", ""}, // likewise
        {"localhost", "127.0.0.1"},
    };
    for (const auto& [text, address] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(resolve_ipv4(text), address);
    }
}

TEST(host_addresses, loopback_and_every_interface_address_are_this_pc)
{
    EXPECT_TRUE(is_this_pc("127.0.0.1"));
    EXPECT_TRUE(is_this_pc("127.5.0.9"));
    for (const std::string& address : interface_addresses())
        EXPECT_TRUE(is_this_pc(address)) << address;
    EXPECT_FALSE(is_this_pc("192.0.2.77")); // a documentation address no machine has
}

} // namespace
} // namespace zk
