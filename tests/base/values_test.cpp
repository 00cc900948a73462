#include "base/values.h"

#include <gtest/gtest.h>

#include "support/hex.h"

namespace zk {
namespace {

using test::from_hex;

TEST(values, decimal_digits_only_up_to_the_limit)
{
    const std::pair<const char*, std::optional<std::uint32_t>> cases[] = {
        {"65535", 65535},
        {"65536", std::nullopt},
        {"000000000008080", 8080}, // leading zeros change nothing
        {"", std::nullopt},
        {"-1", std::nullopt},
        {"+1", std::nullopt},
        {" 1", std::nullopt},
        {"12a", std::nullopt},
        {"4294967295", 4294967295u},
        {"99999999999999999999999", std::nullopt}, // would wrap 64 bits
    };
    for (const auto& [text, number] : cases) {
        SCOPED_TRACE(text);
        const std::uint32_t limit = std::string_view(text).size() >= 10 ? 0xFFFFFFFFu : 65535;
        EXPECT_EQ(parse_decimal(text, limit), number);
    }
}

TEST(values, hex_bytes_are_read_token_by_token_and_written_in_pairs)
{
    struct Case
    {
        std::string text;
        const char* bytes; // nullptr: refused
        std::string refused;
    };
    const Case cases[] = {
        {" aa 01  5 ", "AA 01 05", ""}, {"\u3000 0A \u3000", "0A", ""},   {"", "", ""},
        {"AA 1a2 01", nullptr, "1a2"},  {"7E 30\t0D", nullptr, "30\t0D"}, {"0G", nullptr, "0G"},
        {"ff 00 CE", "FF 00 CE", ""},
    };
    for (const Case& c : cases) {
        const auto result = parse_hex_bytes(c.text);
        if (c.bytes) {
            ASSERT_TRUE(std::holds_alternative<Bytes>(result)) << c.text;
            EXPECT_EQ(hex_bytes_text(std::get<Bytes>(result)), c.bytes) << c.text;
        } else {
            ASSERT_TRUE(std::holds_alternative<std::string>(result)) << c.text;
            EXPECT_EQ(std::get<std::string>(result), c.refused) << c.text;
        }
    }
}

TEST(values, a_mac_is_six_hex_bytes_joined_by_colons_or_dashes)
{
    const std::pair<const char*, std::optional<Bytes>> cases[] = {
        {"84-c2-e4-0-a-ff", from_hex("84 C2 E4 00 0A FF")},
        {"84:C2:E4:00:00:01", from_hex("84 C2 E4 00 00 01")},
        {"84:C2:E4:0:0:1", from_hex("84 C2 E4 00 00 01")}, // as the find window lists it
        {"84:C2:E4:00:01", std::nullopt},
        {"84:C2:E4:00:00:01:", std::nullopt},
        {"84:C2:E4:00:0G:01", std::nullopt},
        {"84:C2:E4:00:100:01", std::nullopt},
        {"84:C2:E4::00:01", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, mac] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parse_mac(text), mac);
    }
    EXPECT_EQ(mac_text(from_hex("84 C2 E4 00 0A FF")), "84:C2:E4:00:0A:FF");
}

} // namespace
} // namespace zk
