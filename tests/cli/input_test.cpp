// What the operator types and what the modules announce, read before anything is sent.
#include <functional>
#include <gtest/gtest.h>

#include "cli/card_batch.h"
#include "cli/card_file.h"
#include "cli/found_controllers.h"
#include "cli/outcome.h"
#include "cli/values.h"
#include "support/hex.h"

namespace zk::cli {
namespace {

using test::from_hex;

struct Refusal
{
    const char* what;
    std::function<void()> parse;
    const char* message;
};

TEST(cli_input, bad_values_are_refused_naming_the_field)
{
    const Refusal cases[] = {
        {"mac too short", [] { parse_mac("84:C2:E4:00:01"); },
         "--mac: expected six hex bytes like 84:C2:E4:00:00:01, not \"84:C2:E4:00:01\""},
        {"mac trailing colon", [] { parse_mac("84:C2:E4:00:00:01:"); },
         "--mac: expected six hex bytes like 84:C2:E4:00:00:01, not \"84:C2:E4:00:00:01:\""},
        {"mac bad digit", [] { parse_mac("84:C2:E4:00:0G:01"); },
         "--mac: expected six hex bytes like 84:C2:E4:00:00:01, not \"84:C2:E4:00:0G:01\""},
        {"volume range", [] { parse_number("256", "volume", 255); },
         "volume: 256 is out of range (0-255)"},
        {"negative id", [] { parse_number("-1", "id", 65535); },
         "id: expected a whole number (0-65535), not \"-1\""},
        {"card beyond 32 bits", [] { parse_card("4294967296"); },
         "card: 4294967296 is out of range (0-4294967295)"},
        {"empty card", [] { parse_card(""); },
         "card: expected a whole number (0-4294967295), not \"\""},
        {"code token", [] { parse_code("7E 300 0D", "--power-on"); },
         "--power-on: \"300\" is not a byte (one or two hex digits)"},
        {"parity", [] { parse_parity("mark"); },
         "--parity: expected none, odd or even, not \"mark\""},
        {"baud", [] { parse_baud("9601"); },
         "--baud: expected one of 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 17200, "
         "345600, not \"9601\""},
        {"mode", [] { parse_swipe_mode("open"); }, "mode: expected swipe or public, not \"open\""},
        {"csv line", [] { parse_card_file("card,name\n12,a\n\n# kept\n13x,b\n", "r.csv"); },
         "r.csv:5: card: expected a whole number (0-4294967295), not \"13x\""},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.parse();
            ADD_FAILURE() << "accepted";
        } catch (const Exit& error) {
            EXPECT_EQ(error.code(), exit_usage);
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(cli_input, good_values_read_as_typed)
{
    EXPECT_EQ(parse_mac("84-c2-e4-0-a-ff"), from_hex("84 C2 E4 00 0A FF"));
    EXPECT_EQ(mac_text(from_hex("84 C2 E4 00 0A FF")), "84:C2:E4:00:0A:FF");
    EXPECT_EQ(parse_number("65535", "id", 65535), 65535u);
    EXPECT_EQ(parse_card("4294967295"), 4294967295u);
    EXPECT_EQ(parse_code("  7e 30  0D ", "--power-on"), from_hex("7E 30 0D"));
    EXPECT_EQ(code_text(from_hex("7E 30 0D")), "7E 30 0D");
    EXPECT_EQ(parse_parity("even"), 2);
    EXPECT_EQ(parse_baud("345600"), 345600u);
}

TEST(cli_input, card_file_skips_header_blank_and_comment_lines_and_keeps_line_numbers)
{
    const std::vector<CardLine> cards = parse_card_file(
        "\xEF\xBB\xBF\"Card\";name\r\n1234567;Li Lei\r\n\r\n#x\r\n\"42\"\r\n0", "f");
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(cards[0].line, 2u);
    EXPECT_EQ(cards[0].card, 1234567u);
    EXPECT_EQ(cards[1].line, 5u);
    EXPECT_EQ(cards[1].card, 42u);
    EXPECT_EQ(cards[2].line, 6u);
    EXPECT_EQ(progress_bar(1, 4, 8), "[##      ]  1/4");
}

// A module's search reply, written from what the modules send: byte 29 counts the IP and the
// zero-terminated name, the version follows the counted data.
TEST(cli_input, search_replies_become_one_row_per_mac_with_name_and_version)
{
    Bytes reply = from_hex("43 48 39 31 32 31 5F 43 46 47 5F 46 4C 41 47 00 84"
                           "84 C2 E4 00 00 01 00 00 00 00 00 00 0B C0 A8 01 C8"
                           "43 48 39 31 32 31 00 26");
    reply.resize(285, 0);
    Bytes other = reply;
    other[22] = 0x02;
    other[29] = 0; // a module that counts nothing tells no name
    std::vector<FoundController> rows = found_from({reply, other, reply});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].module_name, "CH9121");
    EXPECT_EQ(rows[0].module_version, "2.6");
    EXPECT_EQ(rows[1].module_name, "");
    complete(rows, {});
    EXPECT_TRUE(rows[0].shares_ip);
    EXPECT_EQ(to_csv(rows), "mac,ip,mask,gateway,server,port,name,version,duplicate_ip\n"
                            "84:C2:E4:00:00:01,192.168.1.200,,,,,CH9121,2.6,yes\n"
                            "84:C2:E4:00:00:02,192.168.1.200,,,,,,,yes\n");
}

} // namespace
} // namespace zk::cli
