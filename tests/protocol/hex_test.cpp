#include "protocol/hex.h"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

namespace zk::protocol {
namespace {

TEST(parse_hex, accumulates_loosely_and_skips_spaces)
{
    struct Case
    {
        std::string text;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"", 0},
        {"FF", 255},
        {"0A", 10},
        {" 3C ", 60},
        {"1 A", 0x1A},
        {"5", 5},
        {"AA", 0xAA},
        {"7E", 0x7E},
        {"0D", 0x0D},
        {"123", 0x123},
        {"a", 42},    // lower case is not a hex digit: 'a' - 0x37
        {"G", 16},    // nor is anything past F
        {"!", 0xF1},  // below "0" wraps modulo 256
        {"\t", 0xD9}, // a tab is not a space
        {"FFFFFFFF", 0xFFFFFFFF},
        {"100000000", 0}, // wraps at 32 bits
        {"123456789", 0x23456789},
        {"\xE4\xB8\xAD", 0xB586}, // each byte of a non-ASCII character counts c - 0x37
    };
    for (const Case& c : cases)
        EXPECT_EQ(parse_hex(c.text), c.expected) << '"' << c.text << '"';
}

} // namespace
} // namespace zk::protocol
