#include "base/values.h"

#include <algorithm>

#include "base/text.h"

namespace zk {

namespace {

int hex_digit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

} // namespace

bool is_decimal_digits(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::uint32_t> parse_decimal(std::string_view text, std::uint32_t limit)
{
    if (!is_decimal_digits(text)) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        // Stops before the sum could wrap, however many digits follow.
        if (value > limit) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<std::uint8_t> parse_hex_byte(std::string_view token)
{
    if (token.empty() || token.size() > 2) return std::nullopt;
    int value = 0;
    for (char c : token) {
        const int digit = hex_digit(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + digit;
    }
    return static_cast<std::uint8_t>(value);
}

std::string byte_to_hex_pair(std::uint8_t value)
{
    constexpr char digits[] = "0123456789ABCDEF";
    return {digits[value >> 4], digits[value & 0x0F]};
}

std::variant<Bytes, std::string> parse_hex_bytes(std::string_view text)
{
    Bytes bytes;
    for (const std::string& token : split_text(trim_spaces(text), " ")) {
        if (trim_spaces(token).empty()) continue;
        const std::optional<std::uint8_t> byte = parse_hex_byte(token);
        if (!byte) return token;
        bytes.push_back(*byte);
    }
    return bytes;
}

std::string hex_bytes_text(ByteView bytes, std::string_view separator)
{
    std::string text;
    for (std::uint8_t byte : bytes) {
        if (!text.empty()) text += separator;
        text += byte_to_hex_pair(byte);
    }
    return text;
}

std::optional<Bytes> parse_mac(std::string_view text)
{
    std::string unified(text);
    std::replace(unified.begin(), unified.end(), '-', ':');
    const TextArray pieces = split_text(unified, ":");
    // A trailing separator gives no piece when splitting, but it is no address either.
    if (pieces.size() != 6 || unified.back() == ':') return std::nullopt;
    Bytes mac;
    for (const std::string& piece : pieces) {
        const std::optional<std::uint8_t> byte = parse_hex_byte(piece);
        if (!byte) return std::nullopt;
        mac.push_back(*byte);
    }
    return mac;
}

std::string mac_text(ByteView mac)
{
    return hex_bytes_text(mac, ":");
}

} // namespace zk
