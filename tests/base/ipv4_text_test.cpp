#include "base/ipv4_text.h"

#include <gtest/gtest.h>

namespace zk {
namespace {

TEST(ipv4_text, four_decimal_numbers_whatever_their_leading_zeros)
{
    const std::pair<const char*, std::optional<Ipv4Bytes>> cases[] = {
        {"10.66.0.010", Ipv4Bytes{10, 66, 0, 10}}, // the C library reads .010 as octal .8
        {"010.066.000.002", Ipv4Bytes{10, 66, 0, 2}},
        {" 192.168. 1.20 ", Ipv4Bytes{192, 168, 1, 20}},
        {"255.255.255.255", Ipv4Bytes{255, 255, 255, 255}},
        {"10.66.0.256", std::nullopt},
        {"10.1", std::nullopt},
        {"10.66.0.8.", std::nullopt},
        {"0x0a.0.0.1", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, address] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parse_dotted_ipv4(text), address);
    }
}

TEST(ipv4_text, numeric_text_is_never_taken_for_a_host_name)
{
    const std::pair<const char*, bool> cases[] = {
        {"10.66.0.256", true}, {"10.1", true},     {"167772161", true}, {"0x0a.0.0.1", true},
        {"0X0A000001", true},  {"10.66.0.", true}, {"zk-room3", false}, {"room3.school", false},
        {"1stfloor", false},   {"0xide", false},   {"", false},
    };
    for (const auto& [text, numeric] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(looks_numeric(text), numeric);
    }
}

TEST(ipv4_text, netmask_of_a_prefix_length)
{
    const std::pair<unsigned, const char*> cases[] = {
        {0, "0.0.0.0"},        {1, "128.0.0.0"},        {8, "255.0.0.0"}, {23, "255.255.254.0"},
        {24, "255.255.255.0"}, {32, "255.255.255.255"}, {33, ""}, // no IPv4 prefix is that long
    };
    for (const auto& [length, netmask] : cases) {
        SCOPED_TRACE(length);
        EXPECT_EQ(prefix_netmask_text(length), netmask);
    }
}

} // namespace
} // namespace zk
