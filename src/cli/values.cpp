#include "cli/values.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "cli/outcome.h"
#include "runtime/text.h"

namespace zk::cli {

namespace {

constexpr std::array<std::uint32_t, 10> baud_rates = {1200,  2400,  4800,   9600,  19200,
                                                      38400, 57600, 115200, 17200, 345600};
constexpr std::array<std::string_view, 3> parity_names = {"none", "odd", "even"};

int hex_digit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// One or two hex digits; -1 for anything else.
int hex_byte(std::string_view token)
{
    if (token.empty() || token.size() > 2) return -1;
    int value = 0;
    for (char c : token) {
        const int digit = hex_digit(c);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

std::string quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

} // namespace

Bytes parse_mac(std::string_view text)
{
    std::string unified(text);
    std::replace(unified.begin(), unified.end(), '-', ':');
    const TextArray pieces = split_text(unified, ":");
    Bytes mac;
    if (pieces.size() == 6 && unified.back() != ':') {
        for (const std::string& piece : pieces) {
            const int value = hex_byte(piece);
            if (value < 0) break;
            mac.push_back(static_cast<std::uint8_t>(value));
        }
    }
    if (mac.size() != 6)
        refuse_input("--mac: expected six hex bytes like 84:C2:E4:00:00:01, not " + quoted(text));
    return mac;
}

std::string mac_text(ByteView mac)
{
    std::string text;
    for (std::uint8_t b : mac) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X", b);
        if (!text.empty()) text += ':';
        text += pair;
    }
    return text;
}

std::uint32_t parse_number(std::string_view text, std::string_view field, std::uint32_t max)
{
    const std::string range = " (0-" + std::to_string(max) + ")";
    if (text.empty() || text.size() > 10 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        refuse_input(std::string(field) + ": expected a whole number" + range + ", not " +
                     quoted(text));
    const std::uint64_t value = std::stoull(std::string(text));
    if (value > max)
        refuse_input(std::string(field) + ": " + std::string(text) + " is out of range" + range);
    return static_cast<std::uint32_t>(value);
}

std::uint32_t parse_card(std::string_view text)
{
    return parse_number(text, "card", 0xFFFFFFFFu);
}

Bytes parse_code(std::string_view text, std::string_view field)
{
    Bytes code;
    for (const std::string& token : split_text(trim_spaces(text), " ")) {
        if (token.empty()) continue;
        const int value = hex_byte(token);
        if (value < 0)
            refuse_input(std::string(field) + ": " + quoted(token) +
                         " is not a byte (one or two hex digits)");
        code.push_back(static_cast<std::uint8_t>(value));
    }
    return code;
}

std::string code_text(ByteView code)
{
    std::string text = mac_text(code);
    std::replace(text.begin(), text.end(), ':', ' ');
    return text;
}

std::uint8_t parse_parity(std::string_view text, std::string_view field)
{
    for (std::size_t i = 0; i < parity_names.size(); ++i) {
        if (text == parity_names[i] || text == std::to_string(i))
            return static_cast<std::uint8_t>(i);
    }
    refuse_input(std::string(field) + ": expected none, odd or even, not " + quoted(text));
}

std::string parity_text(std::uint8_t parity)
{
    if (parity < parity_names.size()) return std::string(parity_names[parity]);
    return std::to_string(parity);
}

std::uint32_t parse_baud(std::string_view text, std::string_view field)
{
    std::string offered;
    for (std::uint32_t rate : baud_rates) {
        if (text == std::to_string(rate)) return rate;
        offered += (offered.empty() ? "" : ", ") + std::to_string(rate);
    }
    refuse_input(std::string(field) + ": expected one of " + offered + ", not " + quoted(text));
}

bool parse_swipe_mode(std::string_view text)
{
    if (text == "swipe") return true;
    if (text == "public") return false;
    refuse_input("mode: expected swipe or public, not " + quoted(text));
}

} // namespace zk::cli
