#include "base/text.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include <gtest/gtest.h>

#include "support/hex.h"

namespace zk {
namespace {

using zk::test::to_hex;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr std::int64_t int64_max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t int64_min = std::numeric_limits<std::int64_t>::min();

std::string bytes_of(const std::string& text)
{
    return to_hex(Bytes(text.begin(), text.end()));
}

TEST(to_number, reads_the_leading_decimal_number)
{
    // clang-format off
    const std::pair<std::string, double> cases[] = {
        {"", 0},          {"12abc", 12},    {"1,200", 1},     {" 7", 7},
        {"7 8", 7},       {"\t\r\n 3", 3},  {"-2.5", -2.5},   {"+4", 4},
        {"-", 0},         {"+-1", 0},       {".", 0},         {".5", 0.5},
        {"-.5", -0.5},    {"5.", 5},        {"1e3", 1000},    {"2E-2", 0.02},
        {"1.5e+2x", 150}, {"1e", 1},        {"1e+", 1},       {"0x1A", 0},
        {"inf", 0},       {"nan", 0},       {"1e999", inf},   {"-1e999", -inf},
        {"1e-999", 0},    {"0.0000001e-400", 0},              {"1000000e-320", 1e-314}};
    // clang-format on
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(to_number(text), expected) << '"' << text << '"';
}

TEST(to_number, folds_full_width_forms_before_reading)
{
    const std::pair<std::string, double> cases[] = {
        {"\uFF11\uFF12", 12},        // full-width digits one and two
        {"\u30007", 7},              // the ideographic space is leading white space
        {"7\u30008", 7},             // ... and ends a number
        {"\uFF0D\uFF13", -3},        // full-width minus
        {"\uFF11\uFF0E\uFF15", 1.5}, // full-width full stop
        {"\uFF11\uFF45\uFF12", 100}, // full-width e
        {"\u00A05", 0},              // a no-break space is not white space
        {"\u0661", 0},               // an Arabic-Indic one is not a digit
        {"1\xEF\xBC", 1},            // a cut-off full-width form at the end
        {"1\xEF|Q", 1}};             // not U+FF11, whatever its low bits say
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(to_number(text), expected) << bytes_of(text);

    // A view that ends inside a character is not read past its end.
    const std::string one_and_full_width_one = "1\uFF11";
    const std::string_view cut = std::string_view(one_and_full_width_one).substr(0, 3);
    EXPECT_EQ(to_number(cut), 1);
    EXPECT_EQ(text_length(cut), 5);
}

TEST(to_integer, truncates_toward_zero_and_saturates)
{
    const std::pair<double, std::int64_t> cases[] = {
        {2.9, 2},
        {-2.9, -2},
        {nan, 0},
        {inf, int64_max},
        {-inf, int64_min},
        {9223372036854775808.0, int64_max},
        {-1e19, int64_min},
        {-9223372036854775808.0, int64_min},
        {9223372036854774784.0, 9223372036854774784}}; // the largest double below 2^63
    for (const auto& [number, expected] : cases)
        EXPECT_EQ(to_integer(number), expected) << number;
}

TEST(to_byte, keeps_the_low_eight_bits)
{
    const std::pair<double, int> cases[] = {{300, 44},    {256, 0},    {-1, 255},
                                            {255.9, 255}, {-1.5, 255}, {1e300, 255},
                                            {-inf, 0},    {nan, 0},    {70000.0 / 256, 17}};
    for (const auto& [number, expected] : cases)
        EXPECT_EQ(to_byte(number), expected) << number;
    EXPECT_EQ(to_byte(to_number("256")), 0);
    EXPECT_EQ(to_byte(to_number("-1")), 255);
}

TEST(remainder, has_the_sign_of_the_dividend)
{
    EXPECT_EQ(zk::remainder(65535, 256), 255);
    EXPECT_EQ(zk::remainder(-1, 256), -1);
    EXPECT_EQ(zk::remainder(-300, 256), -44);
    EXPECT_EQ(zk::remainder(1234.5, 256), 210.5);
    EXPECT_EQ(to_byte(zk::remainder(-1, 256)), 255);
}

TEST(to_text, formats_like_printf_without_a_locale)
{
    EXPECT_EQ(to_text(std::int64_t{-5}), "-5");
    EXPECT_EQ(to_text(int64_min), "-9223372036854775808");

    const std::pair<double, std::string> cases[] = {{60000, "60000"},
                                                    {-2.5, "-2.5"},
                                                    {1.0 / 3, "0.3333333333333"},
                                                    {9999999999999, "9999999999999"},
                                                    {10000000000000, "1e+13"},
                                                    {1234567890123456, "1.234567890123e+15"},
                                                    {0.0001, "0.0001"},
                                                    {0.00001, "1e-05"}};
    for (const auto& [number, expected] : cases)
        EXPECT_EQ(to_text(number), expected);

    EXPECT_EQ(to_hex_text(0), "0");
    EXPECT_EQ(to_hex_text(9), "9");
    EXPECT_EQ(to_hex_text(255), "FF");
    EXPECT_EQ(to_hex_text(0xFFFFFFFF), "FFFFFFFF");
}

TEST(text_length, counts_non_ascii_characters_as_two)
{
    // A stray byte that starts no character counts as a character of its own.
    // clang-format off
    const std::pair<std::string, int> cases[] = {
        {"", 0},        {"192.168.1.1", 11}, {"中控", 4},        {"a中", 3},  {"\u3000", 2},
        {"\u00E9", 2},  {"\U0001F600", 2},   {"\xFF", 2},         {"\xE4\xB8", 4}};
    // clang-format on
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(text_length(text), expected) << bytes_of(text);
}

TEST(trim_spaces, and_remove_spaces_know_only_ascii_and_ideographic_spaces)
{
    struct Case
    {
        std::string text;
        std::string trimmed;
        std::string removed;
    };
    const Case cases[] = {
        {"", "", ""},
        {"  a b  ", "a b", "ab"},
        {"\u3000a\u3000", "a", "a"},
        {"\ta\n ", "\ta\n", "\ta\n"},
        {"\u3000 \u3000", "", ""},
        {"中 文 ", "中 文", "中文"},
        {"\u00A0x", "\u00A0x", "\u00A0x"},
        {"\xE3\x80 ", "\xE3\x80", "\xE3\x80"}}; // a cut-off ideographic space is not a space
    for (const Case& c : cases) {
        EXPECT_EQ(trim_spaces(c.text), c.trimmed) << bytes_of(c.text);
        EXPECT_EQ(remove_spaces(c.text), c.removed) << bytes_of(c.text);
    }
}

TEST(to_upper, raises_only_ascii_letters)
{
    EXPECT_EQ(to_upper("0a 1b-xyz-AZ"), "0A 1B-XYZ-AZ");
    EXPECT_EQ(to_upper("\u00E9\uFF41中"), "\u00E9\uFF41中");
}

TEST(split_text, follows_delimiters_between_whole_characters)
{
    struct Case
    {
        std::string text;
        std::string delimiter;
        TextArray expected;
    };
    const Case cases[] = {{"", " ", {}},
                          {"abc", "", {"abc"}},
                          {"a  b", " ", {"a", "", "b"}},
                          {"1.2.3.", ".", {"1", "2", "3"}},
                          {".1", ".", {"", "1"}},
                          {"a..", ".", {"a", ""}},
                          {"192.168.1.10", ".", {"192", "168", "1", "10"}},
                          {"a, b", ", ", {"a", "b"}},
                          {"a\u3000b", "\u3000", {"a", "b"}},
                          {"中", "\xB8", {"中"}}, // an inner byte of a character never matches
                          {"\xE4\xB8\xAD\xB8", "\xB8", {"中"}}}; // a stray byte after it does
    for (const Case& c : cases)
        EXPECT_EQ(split_text(c.text, c.delimiter), c.expected)
            << bytes_of(c.text) << " on " << bytes_of(c.delimiter);
}

TEST(concat, joins_the_texts_in_order)
{
    EXPECT_EQ(concat({"a", "中", "", "1"}), "a中1");
}

} // namespace
} // namespace zk
