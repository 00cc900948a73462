#include "protocol/code_text.h"

#include <string>

#include <gtest/gtest.h>

#include "protocol/request.h"
#include "support/hex.h"

namespace zk::protocol {
namespace {

using zk::test::from_hex;
using zk::test::to_hex;

TEST(code_text, turns_command_text_into_bytes_and_back)
{
    struct Case
    {
        std::string text;  // as typed
        const char* bytes; // what it stands for
        std::string shown; // how the bytes are shown again
    };
    const Case cases[] = {
        {"PWR ON\\r", "50 57 52 20 4F 4E 0D", "PWR ON\\r"},
        {"\\r*pow=on#\\r", "0D 2A 70 6F 77 3D 6F 6E 23 0D", "\\r*pow=on#\\r"},
        {"\\x02ADZZ;PON\\x03", "02 41 44 5A 5A 3B 50 4F 4E 03", "\\x02ADZZ;PON\\x03"},
        {"a\\nb\\tc\\\\", "61 0A 62 09 63 5C", "a\\nb\\tc\\\\"},
        {"\\xbe\\xEF", "BE EF", "\\xBE\\xEF"},
        {"00\"\\r", "30 30 22 0D", "00\"\\r"},
        {"\t~\x7F", "09 7E 7F", "\\t~\\x7F"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const auto bytes = code_from_text(c.text);
        ASSERT_TRUE(std::holds_alternative<Bytes>(bytes)) << c.text;
        EXPECT_EQ(to_hex(std::get<Bytes>(bytes)), c.bytes) << c.text;
        EXPECT_EQ(code_to_text(from_hex(c.bytes)), c.shown) << c.bytes;
    }
}

TEST(code_text, every_byte_value_survives_text_and_back)
{
    Bytes all;
    for (int value = 0; value < 256; ++value)
        all.push_back(static_cast<std::uint8_t>(value));
    const std::string text = code_to_text(all);
    for (char c : text)
        EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "shown raw: " << int(c);
    const auto back = code_from_text(text);
    ASSERT_TRUE(std::holds_alternative<Bytes>(back));
    EXPECT_EQ(std::get<Bytes>(back), all);
}

TEST(code_text, refuses_what_is_no_byte_and_names_it)
{
    struct Case
    {
        std::string text;
        TextProblem problem;
        std::string piece;
    };
    const Case cases[] = {
        {"PWR\\q", TextProblem::unknown_escape, "\\q"},
        {"PWR\\R", TextProblem::unknown_escape, "\\R"},
        {"a\\中b", TextProblem::unknown_escape, "\\中"},
        {"\\x4", TextProblem::bad_hex_escape, "\\x4"},
        {"\\x4中", TextProblem::bad_hex_escape, "\\x4中"},
        {"\\xZZ0", TextProblem::bad_hex_escape, "\\xZZ"},
        {"\\x", TextProblem::bad_hex_escape, "\\x"},
        {"ON\\", TextProblem::lone_backslash, "\\"},
        {"开机\\r", TextProblem::non_ascii, "开"},
        {"PWR\u3000ON", TextProblem::non_ascii, "\u3000"},
        {"caf\u00e9", TextProblem::non_ascii, "\u00e9"},
    };
    for (const Case& c : cases) {
        const auto result = code_from_text(c.text);
        ASSERT_TRUE(std::holds_alternative<TextRefusal>(result)) << c.text;
        EXPECT_EQ(std::get<TextRefusal>(result).problem, c.problem) << c.text;
        EXPECT_EQ(std::get<TextRefusal>(result).piece, c.piece) << c.text;
    }
}

TEST(projector_codes_fit, holds_232_code_bytes_in_all_and_no_more)
{
    struct Case
    {
        std::size_t on, off, video, computer;
        bool fits;
    };
    const Case cases[] = {
        {0, 0, 0, 0, true},    {232, 0, 0, 0, true},  {58, 58, 58, 58, true},
        {233, 0, 0, 0, false}, {0, 0, 0, 233, false}, {100, 100, 30, 3, false},
        {256, 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        const std::array<Bytes, 4> codes{Bytes(c.on, 0x30), Bytes(c.off, 0x30),
                                         Bytes(c.video, 0x30), Bytes(c.computer, 0x30)};
        EXPECT_EQ(projector_codes_fit(codes), c.fits)
            << c.on << " " << c.off << " " << c.video << " " << c.computer;
    }
}

} // namespace
} // namespace zk::protocol
