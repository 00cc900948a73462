// Controllers that put other bytes after the address than a module name: every output format
// still prints one row per controller, and the JSON stays valid.
#include <gtest/gtest.h>

#include "cli/found_controllers.h"
#include "support/hex.h"
#include "support/refused_blocks.h"

namespace zk::cli {
namespace {

using test::from_hex;

TEST(found_rows, foreign_bytes_after_the_address_stay_inside_their_row)
{
    Bytes block_after = from_hex("43 48 39 31 32 31 5F 43 46 47 5F 46 4C 41 47 00 84"
                                 "84 C2 E4 00 00 01 00 00 00 00 00 00 CC C0 A8 01 C8"
                                 "0A 0D 2C 22 00 FF");
    block_after.resize(285, 0x0A);
    // A described 20-byte name with line breaks, a quote, a comma and bytes 0x80-0xFF in it.
    Bytes odd_name = from_hex("43 48 39 31 32 31 5F 43 46 47 5F 46 4C 41 47 00 84"
                              "84 C2 E4 00 00 02 00 00 00 00 00 00 19 C0 A8 01 C9"
                              "0A 0D 2C 22 80 FF E4 B8 AD C0 41 42 43 44 45 46 47 48 49 4A 00 26");
    odd_name.resize(285, 0);
    std::vector<FoundController> rows =
        found_from(test::search_replies_in({block_after, odd_name}));
    complete(rows, {});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].module_name, "");
    EXPECT_EQ(rows[1].module_name, "\\x0A\\x0D,\"\\x80\\xFF中\\xC0ABCDEFGHIJ");

    const auto lines = [](const std::string& text) {
        return std::count(text.begin(), text.end(), '\n');
    };
    EXPECT_EQ(lines(to_table(rows)), 3);
    EXPECT_EQ(lines(to_csv(rows)), 3);
    for (const FoundController& row : rows) {
        const std::string json = to_json(row).dump();
        EXPECT_EQ(lines(json), 0);
        EXPECT_EQ(nlohmann::ordered_json::parse(json)["mac"], to_json(row)["mac"]);
    }
    EXPECT_EQ(to_json(rows[1])["version"], "2.6");
    EXPECT_TRUE(to_json(rows[0])["version"].is_null());
}

} // namespace
} // namespace zk::cli
