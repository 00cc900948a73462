#pragma once
// The lenient hex reading of stored code text. Strict hex bytes, as the operator types them,
// are read by parse_hex_bytes in base/values.h.
#include <cstdint>
#include <string_view>

#include "base/values.h"

namespace zk::protocol {

// The simulator's state file still names the pair formatter here.
using zk::byte_to_hex_pair;

// Accumulates value * 16 + digit over the text (32 bits, wrapping). A character from 0x40 up
// counts c - 0x37, a space is skipped, anything else counts (c - 0x30) mod 256; so "1 A" is
// 0x1A and lower-case letters are not hex digits. Callers keep the low eight bits.
std::uint32_t parse_hex(std::string_view text);

} // namespace zk::protocol
