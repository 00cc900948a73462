#include "cli/values.h"

#include <algorithm>
#include <array>

#include "base/printable.h"
#include "base/text.h"
#include "cli/outcome.h"
#include "protocol/serial_line.h"

namespace zk::cli {

std::string quote_back(std::string_view text)
{
    constexpr std::size_t longest = 40;
    std::size_t kept = std::min(text.size(), longest);
    while (kept > 0 && kept < text.size() &&
           (static_cast<unsigned char>(text[kept]) & 0xC0) == 0x80)
        --kept; // not inside a UTF-8 character
    return "\"" + printable(text.substr(0, kept)) + (kept < text.size() ? "\"…" : "\"");
}

Bytes parse_mac(std::string_view text)
{
    std::optional<Bytes> mac = zk::parse_mac(text);
    if (!mac)
        refuse_input("--mac: expected six hex bytes like 84:C2:E4:00:00:01, not " +
                     quote_back(text));
    return std::move(*mac);
}

std::uint32_t parse_number(std::string_view text, std::string_view field, std::uint32_t max)
{
    const std::string range = " (0-" + std::to_string(max) + ")";
    if (!is_decimal_digits(text) || text.size() > 10)
        refuse_input(std::string(field) + ": expected a whole number" + range + ", not " +
                     quote_back(text));
    const std::optional<std::uint32_t> value = parse_decimal(text, max);
    if (!value)
        refuse_input(std::string(field) + ": " + std::string(text) + " is out of range" + range);
    return *value;
}

std::uint32_t parse_card(std::string_view text)
{
    return parse_number(text, "card", 0xFFFFFFFFu);
}

Bytes parse_code(std::string_view text, std::string_view field)
{
    std::variant<Bytes, std::string> code = parse_hex_bytes(text);
    if (const auto* bad = std::get_if<std::string>(&code))
        refuse_input(std::string(field) + ": " + quote_back(*bad) +
                     " is not a byte (one or two hex digits)");
    return std::get<Bytes>(std::move(code));
}

std::uint8_t parse_parity(std::string_view text, std::string_view field)
{
    for (std::size_t i = 0; i < protocol::parity_names.size(); ++i) {
        if (text == protocol::parity_names[i] || text == std::to_string(i))
            return static_cast<std::uint8_t>(i);
    }
    refuse_input(std::string(field) + ": expected none, odd or even, not " + quote_back(text));
}

std::string parity_text(std::uint8_t parity)
{
    if (parity < protocol::parity_names.size()) return std::string(protocol::parity_names[parity]);
    return std::to_string(parity);
}

std::uint32_t parse_baud(std::string_view text, std::string_view field)
{
    std::string offered;
    for (std::string_view rate : protocol::baud_rates) {
        if (text == rate) return *parse_decimal(rate, 0xFFFFFF);
        offered += (offered.empty() ? "" : ", ") + std::string(rate);
    }
    refuse_input(std::string(field) + ": expected one of " + offered + ", not " + quote_back(text));
}

bool parse_swipe_mode(std::string_view text)
{
    if (text == "swipe") return true;
    if (text == "public") return false;
    refuse_input("mode: expected swipe or public, not " + quote_back(text));
}

} // namespace zk::cli
