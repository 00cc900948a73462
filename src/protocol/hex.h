#pragma once
// The two hexadecimal conversions used for projector code bytes.
#include <cstdint>
#include <string>
#include <string_view>

namespace zk::protocol {

// Two upper-case hex digits: 0x0A gives "0A", 0xFF gives "FF".
std::string byte_to_hex_pair(std::uint8_t value);

// Accumulates value * 16 + digit over the text (32 bits, wrapping). A character from 0x40 up
// counts c - 0x37, a space is skipped, anything else counts (c - 0x30) mod 256; so "1 A" is
// 0x1A and lower-case letters are not hex digits. Callers keep the low eight bits.
std::uint32_t parse_hex(std::string_view text);

} // namespace zk::protocol
