#pragma once
// Numbers and bytes as people type and read them, one reading each for the windows, zkctl and
// their files: decimal numbers, hex bytes and MAC addresses. (IPv4 addresses: ipv4_text.h.)
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "base/bytes.h"

namespace zk {

// True for a non-empty text of the digits 0-9 only: no sign, no space.
bool is_decimal_digits(std::string_view text);

// The number of a text of digits only when it is at most `limit`; nullopt for anything else,
// also for an empty text. Leading zeros change nothing.
std::optional<std::uint32_t> parse_decimal(std::string_view text, std::uint32_t limit);

// One or two hex digits, either case; nullopt for anything else.
std::optional<std::uint8_t> parse_hex_byte(std::string_view token);

// Two upper-case hex digits: 0x0A gives "0A", 0xFF gives "FF".
std::string byte_to_hex_pair(std::uint8_t value);

// Hex bytes as typed: tokens of one or two hex digits (either case) between half-width spaces;
// spaces of either width at the ends and tokens of ideographic spaces only are skipped. On
// failure, the first token that is not a byte, as typed, so the operator can find it.
std::variant<Bytes, std::string> parse_hex_bytes(std::string_view text);

// The bytes as upper-case pairs joined by `separator` ("7E 30 0D"); empty for no bytes.
std::string hex_bytes_text(ByteView bytes, std::string_view separator = " ");

// A MAC address: six bytes of one or two hex digits (either case) joined by ":" or "-".
std::optional<Bytes> parse_mac(std::string_view text);

// "84:C2:E4:00:0A:FF".
std::string mac_text(ByteView mac);

} // namespace zk
