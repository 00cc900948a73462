#pragma once
// The projector's serial settings and its codes, as a projector-codes write and the reply to a
// read both carry them after the command and operation: rate b2 b1 b0, parity, 08 01, then for
// each code CE CE k and its k bytes. Written and read here only.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/bytes.h"

namespace zk::protocol {

// Serial settings and the four projector codes, in the order power-on, power-off, video,
// computer. Shared by the write request and the read reply.
struct ProjectorCodes
{
    std::uint32_t baud = 0;  // 24 bits on the wire
    std::uint8_t parity = 0; // 0 none, 1 odd, 2 even; 0xFF when nothing is chosen
    std::array<Bytes, 4> codes;
    bool operator==(const ProjectorCodes&) const = default;
};

inline constexpr std::size_t code_count = 4;

// The most code bytes the four codes can hold together: one payload, less its fixed 20 bytes.
inline constexpr std::size_t projector_code_capacity = 232;

// Whether the four codes fit one projector-codes request. Beyond it the length and count bytes
// would wrap and the controller would store something else than given; every place that takes
// codes from the operator or a file asks this before building.
bool projector_codes_fit(const std::array<Bytes, 4>& codes);

// Appends rate, parity, the fixed data and stop bits.
void append_serial_settings(Bytes& out, std::uint32_t baud, std::uint8_t parity);

// Appends each code as CE CE k and its bytes. A code longer than 255 bytes keeps the low 8 bits
// of its count: the payload is then too long to frame, so nothing of it is ever sent.
void append_code_blocks(Bytes& out, std::span<const Bytes> codes);

// How many of the codes, from the first and at most four, fit whole in a payload that has `used`
// bytes already: a reply stops at the first that would not, rather than send a count the
// controller would misread.
std::size_t codes_that_fit(std::span<const Bytes> codes, std::size_t used);

struct CodeBlocks
{
    std::vector<Bytes> codes; // at most four
    std::size_t end = 0;      // where the last whole block ends
};

// The whole code blocks from `at` on, up to four; the walk stops at the first block whose marks,
// count or code bytes are not all there.
CodeBlocks read_code_blocks(ByteView bytes, std::size_t at);

} // namespace zk::protocol
