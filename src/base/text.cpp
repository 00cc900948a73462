#include "base/text.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>
#include <system_error>

namespace zk {

namespace {

constexpr std::string_view ideographic_space = "\xE3\x80\x80"; // U+3000

// Length of the space at `at` (ASCII or ideographic), 0 when there is none.
std::size_t space_length(std::string_view text, std::size_t at)
{
    if (text[at] == ' ') return 1;
    // Most characters are no space: look at the lead byte before comparing the whole sequence.
    if (text[at] != ideographic_space[0]) return 0;
    return text.substr(at).starts_with(ideographic_space) ? ideographic_space.size() : 0;
}

// The ASCII twin that a three-byte character stands for when a number is read, or 0.
char ascii_twin(std::string_view character)
{
    if (character.size() != 3) return 0;
    const auto byte = [&](std::size_t i) { return static_cast<char32_t>(character[i]) & 0x3F; };
    const char32_t cp =
        ((static_cast<char32_t>(character[0]) & 0x0F) << 12) | (byte(1) << 6) | byte(2);
    if (cp >= 0xFF01 && cp <= 0xFF5D && cp != 0xFF04) return static_cast<char>(cp - 0xFEE0);
    switch (cp) {
    case 0xFFE5:
        return '$';
    case 0xFFE3:
    case 0xFF5E:
        return '~';
    case 0x3000:
        return ' ';
    case 0x2605:
    case 0x2606:
        return '*';
    default:
        return 0;
    }
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

// The C locale's white space, whatever the process locale is.
bool is_white_space(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::size_t skip_digits(std::string_view s, std::size_t at)
{
    while (at < s.size() && is_digit(s[at]))
        ++at;
    return at;
}

// End of an exponent starting at `at`; `at` itself when no digit follows the e and its sign.
std::size_t exponent_end(std::string_view s, std::size_t at)
{
    if (at >= s.size() || (s[at] != 'e' && s[at] != 'E')) return at;
    std::size_t digits = at + 1;
    if (digits < s.size() && (s[digits] == '+' || s[digits] == '-')) ++digits;
    const std::size_t end = skip_digits(s, digits);
    return end > digits ? end : at;
}

// Whether an unsigned decimal that does not fit a double is too large rather than too small:
// it is too large exactly when its first non-zero digit stands at or above the units place.
bool too_large(std::string_view number)
{
    const std::size_t point = std::min(number.find_first_of(".eE"), number.size());
    const std::size_t first = number.find_first_not_of("0.");
    long long order = static_cast<long long>(point) - static_cast<long long>(first);
    if (first < point) order -= 1;
    const std::size_t e = number.find_first_of("eE");
    if (e == std::string_view::npos) return order >= 0;
    std::size_t i = e + 1;
    const bool negative = number[i] == '-';
    if (number[i] == '+' || number[i] == '-') ++i;
    long long exponent = 0; // capped: any order beyond a billion decides the same way
    for (; i < number.size(); ++i)
        exponent = std::min(exponent * 10 + (number[i] - '0'), 1'000'000'000LL);
    return order + (negative ? -exponent : exponent) >= 0;
}

// Value of an unsigned decimal already known to be well formed; out of range gives infinity or 0.
double unsigned_value(std::string_view number)
{
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        return too_large(number) ? std::numeric_limits<double>::infinity() : 0.0;
    return value;
}

// The leading decimal number of already folded text, 0 when there is none.
double leading_number(std::string_view s)
{
    std::size_t at = 0;
    while (at < s.size() && is_white_space(s[at]))
        ++at;
    bool negative = false;
    if (at < s.size() && (s[at] == '+' || s[at] == '-')) negative = s[at++] == '-';
    const std::size_t begin = at;
    std::size_t end = skip_digits(s, begin);
    std::size_t digits = end - begin;
    if (end < s.size() && s[end] == '.') {
        const std::size_t fraction_end = skip_digits(s, end + 1);
        digits += fraction_end - end - 1;
        end = fraction_end;
    }
    if (digits == 0) return 0.0;
    const double magnitude = unsigned_value(s.substr(begin, exponent_end(s, end) - begin));
    return negative ? -magnitude : magnitude;
}

} // namespace

std::size_t char_length(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    unsigned char low = 0x80;  // bounds of the second byte; the rest are always 80..BF
    unsigned char high = 0xBF; // narrower bounds rule out overlongs, surrogates and > U+10FFFF
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return 1;
    }
    if (text.size() - at < length) return 1;
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(text[at + i]);
        if (b < (i == 1 ? low : 0x80) || b > (i == 1 ? high : 0xBF)) return 1;
    }
    return length;
}

std::string fold_full_width(std::string_view text)
{
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = char_length(text, at);
        const std::string_view character = text.substr(at, length);
        const char twin = ascii_twin(character);
        if (twin != 0)
            folded.push_back(twin);
        else
            folded.append(character);
        at += length;
    }
    return folded;
}

double to_number(std::string_view text)
{
    return leading_number(fold_full_width(text));
}

std::int64_t to_integer(double number)
{
    constexpr double two_to_63 = 9223372036854775808.0;
    if (std::isnan(number)) return 0;
    if (number >= two_to_63) return std::numeric_limits<std::int64_t>::max();
    if (number <= -two_to_63) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(number);
}

std::uint8_t to_byte(double number)
{
    return static_cast<std::uint8_t>(static_cast<std::uint64_t>(to_integer(number)) & 0xFF);
}

double remainder(double x, double d)
{
    return std::fmod(x, d);
}

std::string to_text(std::int64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string to_text(double value)
{
    // Same digits as printf's "%.13g", but never a locale's decimal comma.
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 13);
    return std::string(buffer, result.ptr);
}

std::string to_hex_text(std::uint32_t value)
{
    char buffer[8];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
    std::string text(buffer, result.ptr);
    for (char& c : text)
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

int text_length(std::string_view text)
{
    std::int64_t length = 0;
    for (std::size_t at = 0; at < text.size(); at += char_length(text, at))
        length += static_cast<unsigned char>(text[at]) < 0x80 ? 1 : 2;
    return static_cast<int>(std::min<std::int64_t>(length, INT_MAX));
}

std::string trim_spaces(std::string_view text)
{
    std::size_t begin = 0;
    while (begin < text.size() && space_length(text, begin) > 0)
        begin += space_length(text, begin);
    // Walk forward so that a trailing run is only ever made of whole characters.
    std::size_t end = begin;
    for (std::size_t at = begin; at < text.size();) {
        const std::size_t space = space_length(text, at);
        at += space > 0 ? space : char_length(text, at);
        if (space == 0) end = at;
    }
    return std::string(text.substr(begin, end - begin));
}

std::string remove_spaces(std::string_view text)
{
    std::string kept;
    kept.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t space = space_length(text, at);
        const std::size_t length = space > 0 ? space : char_length(text, at);
        if (space == 0) kept.append(text.substr(at, length));
        at += length;
    }
    return kept;
}

std::string to_upper(std::string_view text)
{
    // Bytes of multi-byte characters are all 0x80 or above, so a byte-wise pass never touches
    // them.
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

TextArray split_text(std::string_view text, std::string_view delimiter)
{
    TextArray parts;
    if (text.empty()) return parts;
    if (delimiter.empty()) return {std::string(text)};
    std::size_t field = 0;
    for (std::size_t at = 0; at < text.size();) {
        if (text[at] == delimiter[0] && text.substr(at).starts_with(delimiter)) {
            parts.emplace_back(text.substr(field, at - field));
            at += delimiter.size();
            field = at;
        } else {
            at += char_length(text, at);
        }
    }
    if (field < text.size()) parts.emplace_back(text.substr(field));
    return parts;
}

std::string concat(std::initializer_list<std::string_view> texts)
{
    std::string joined;
    for (const std::string_view text : texts)
        joined.append(text);
    return joined;
}

} // namespace zk
