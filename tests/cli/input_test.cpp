// What the operator types and what the modules announce, read before anything is sent.
#include <functional>
#include <gtest/gtest.h>

#include "base/json_reading.h"
#include "cli/card_batch.h"
#include "cli/card_file.h"
#include "cli/found_controllers.h"
#include "cli/outcome.h"
#include "cli/room_settings.h"
#include "cli/values.h"
#include "support/hex.h"
#include "support/refused_blocks.h"

namespace zk::cli {
namespace {

using test::from_hex;

struct Refusal
{
    const char* what;
    std::function<void()> parse;
    const char* message;
};

// A backup as zkctl writes it, with one member changed.
nlohmann::json backup_with(const std::string& key, const nlohmann::json& value)
{
    nlohmann::json document = settings_json(RoomSettings{});
    document["format"] = backup_format;
    document["version"] = backup_version;
    document["serial"]["baud"] = 9600;
    document[key] = value;
    return document;
}

nlohmann::json backup_with_baud(std::uint32_t baud)
{
    nlohmann::json document = backup_with("volume", 1);
    document["serial"]["baud"] = baud;
    return document;
}

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
        {"eleven digits", [] { parse_card("12345678901"); },
         "card: expected a whole number (0-4294967295), not \"12345678901\""},
        {"beyond 64 bits", [] { parse_card("99999999999999999999999"); },
         "card: expected a whole number (0-4294967295), not \"99999999999999999999999\""},
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
        {"a later line without digits", [] { parse_card_file("12\nname\n", "r.csv"); },
         "r.csv:2: card: expected a whole number (0-4294967295), not \"name\""},
        {"backup with a rate set refuses", [] { settings_from_json(backup_with_baud(12345), "b"); },
         "b: serial.baud: expected one of 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, "
         "17200, 345600, not \"12345\""},
        {"backup volume", [] { settings_from_json(backup_with("volume", 256), "b"); },
         "b: volume: 256 is out of range (0-255)"},
        {"backup negative id", [] { settings_from_json(backup_with("id", -1), "b"); },
         "b: id: expected a whole number (0-65535), not \"-1\""},
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
    EXPECT_EQ(parse_number("65535", "id", 65535), 65535u);
    EXPECT_EQ(parse_card("4294967295"), 4294967295u);
    EXPECT_EQ(parse_code("  7e 30  0D ", "--power-on"), from_hex("7E 30 0D"));
    EXPECT_EQ(parse_parity("even"), 2);
    EXPECT_EQ(parse_baud("345600"), 345600u);
}

// A backup edited by hand, its text read as restore reads it.
TEST(cli_input, hostile_backups_are_refused_naming_the_member)
{
    const std::string good = backup_with("volume", 1).dump();
    struct Case
    {
        const char* what;
        std::string_view from, to;
        std::string message;
    };
    std::string deep_path = "serial.baud";
    for (int i = 0; i < 30; ++i)
        deep_path += "[0]";
    const std::string deep = std::string(300'000, '[') + std::string(300'000, ']');
    const Case cases[] = {
        {"baud nested deep", "9600", deep, deep_path + ": nested more than 32 levels deep"},
        {"baud a list", "9600", "[[9600]]", "b: serial.baud: expected a number or a text"},
        {"unknown key", "\"power_off\"", "\"poweroff\"", "b: serial.poweroff: unknown key"},
        {"unknown top key", "\"volume\"", "\"volumes\":1,\"volume\"", "b: volumes: unknown key"},
        {"key twice", "\"baud\"", "\"baud\":19200,\"baud\"", "serial.baud: given twice"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = good;
        ASSERT_NE(text.find(c.from), std::string::npos);
        text.replace(text.find(c.from), c.from.size(), c.to);
        try {
            settings_from_json(parse_json_document(text), "b");
            ADD_FAILURE() << "accepted";
        } catch (const std::exception& error) {
            EXPECT_EQ(error.what(), c.message);
        }
    }
}

// Card files as schools save them from a spreadsheet; each row is a file and the cards read.
TEST(cli_input, card_files_in_the_forms_schools_have_them)
{
    struct Row
    {
        const char* what;
        std::string bytes;
        std::vector<CardLine> cards;
    };
    const Row rows[] = {
        {"English header, quotes, semicolons, comments",
         "\"Card\";name\n1234567;Li Lei\n\n#x\n\"42\"\n0",
         {{2, 1234567}, {5, 42}, {6, 0}}},
        {"Chinese header", "卡号,姓名\n3000004,李雷\n", {{2, 3000004}}},
        {"Chinese header alone", "卡号\n3000004\n", {{2, 3000004}}},
        {"GBK",
         "\xBF\xA8\xBA\xC5,\xD0\xD5\xC3\xFB\r\n3000004,\xC0\xEE\xC0\xD7\r\n",
         {{2, 3000004}}},
        {"full-width digits and spaces",
         "\xE3\x80\x80３０００００４\xE3\x80\x80，李雷\n",
         {{1, 3000004}}},
        {"BOM and CRLF",
         "\xEF\xBB\xBF"
         "card\r\n7\r\n8\r\n",
         {{2, 7}, {3, 8}}},
        {"a line of spaces only", "5\n   \n\xE3\x80\x80\n6\n", {{1, 5}, {4, 6}}},
        {"tab-separated", "card\tname\n9\tx\n", {{2, 9}}},
        {"lone CR line ends", "card\r7\r\r8\r", {{2, 7}, {4, 8}}},
        {"empty", "", {}},
        {"header only", "卡号\r\n", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::vector<CardLine> cards = parse_card_file(row.bytes, "f");
        ASSERT_EQ(cards.size(), row.cards.size());
        for (std::size_t i = 0; i < cards.size(); ++i) {
            EXPECT_EQ(cards[i].line, row.cards[i].line);
            EXPECT_EQ(cards[i].card, row.cards[i].card);
        }
    }
    EXPECT_EQ(progress_bar(1, 4, 8), "[##      ]  1/4");
}

TEST(cli_input, a_bad_line_of_a_gbk_file_is_named_in_utf8)
{
    try {
        parse_card_file("\xBF\xA8\xBA\xC5\n12\xC0\xEE\n", "f.csv");
        ADD_FAILURE() << "accepted";
    } catch (const Exit& error) {
        EXPECT_STREQ(error.what(),
                     "f.csv:2: card: expected a whole number (0-4294967295), not \"12李\"");
    }
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
    std::vector<FoundController> rows = found_from(test::search_replies_in({reply, other, reply}));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].module_name, "CH9121");
    EXPECT_EQ(rows[0].module_version, "2.6");
    EXPECT_EQ(rows[1].module_name, "");
    complete(rows, {});
    EXPECT_TRUE(rows[0].shares_ip);
    EXPECT_EQ(to_csv(rows),
              "mac,ip,mask,gateway,server,port,name,version,duplicate_ip,duplicate_mac\n"
              "84:C2:E4:00:00:01,192.168.1.200,,,,,CH9121,2.6,yes,\n"
              "84:C2:E4:00:00:02,192.168.1.200,,,,,,,yes,\n");
}

TEST(cli_input, a_restore_changes_the_written_settings_that_differ)
{
    RoomSettings now;
    now.id = 3;
    now.volume = 5;
    now.timings.warm_up = 30;
    now.serial.codes[1] = from_hex("7E 30");
    RoomSettings wanted = now;
    wanted.id = 4;
    wanted.volume = 12;
    wanted.serial.codes[1] = from_hex("7E 31 0D");
    wanted.cards = 20; // counts are reported, never written
    wanted.fingerprints = 2;
    const auto text = [](const std::vector<FieldChange>& changes) {
        std::string all;
        for (const FieldChange& c : changes)
            all += c.field + " " + c.from + " -> " + c.to + "; ";
        return all;
    };
    EXPECT_EQ(text(restore_changes(now, wanted, false)),
              "id 3 -> 4; volume 5 -> 12; serial.power_off 7E 30 -> 7E 31 0D; ");
    EXPECT_EQ(text(restore_changes(now, wanted, true)),
              "volume 5 -> 12; serial.power_off 7E 30 -> 7E 31 0D; ");
    EXPECT_EQ(text(restore_changes(now, now, false)), "");
}

} // namespace
} // namespace zk::cli
