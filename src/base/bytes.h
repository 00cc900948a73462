#pragma once
// Byte strings and byte-order helpers shared by both wire formats.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zk {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

// Most significant byte first (HS3 frames).
constexpr std::uint32_t read_be16(ByteView b, std::size_t at)
{
    return (std::uint32_t{b[at]} << 8) | b[at + 1];
}

constexpr std::uint32_t read_be24(ByteView b, std::size_t at)
{
    return (std::uint32_t{b[at]} << 16) | (std::uint32_t{b[at + 1]} << 8) | b[at + 2];
}

constexpr std::uint32_t read_be32(ByteView b, std::size_t at)
{
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
           (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}

// Least significant byte first (configuration datagrams).
constexpr std::uint32_t read_le16(ByteView b, std::size_t at)
{
    return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8);
}

constexpr std::uint32_t read_le32(ByteView b, std::size_t at)
{
    return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) |
           (std::uint32_t{b[at + 2]} << 16) | (std::uint32_t{b[at + 3]} << 24);
}

// Appends v most significant byte first, `width` bytes wide.
inline void append_be(Bytes& out, std::uint32_t v, int width)
{
    for (int shift = 8 * (width - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// Writes v least significant byte first, `width` bytes wide, at `at`.
inline void write_le(Bytes& out, std::size_t at, std::uint32_t v, int width)
{
    for (int i = 0; i < width; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace zk
