#pragma once
// The HS3 frame: "HS3", 0xFF, length (payload + 3), two reserved zero bytes, the payload
// (command, operation, data), and an XOR checksum over length..last payload byte.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "base/bytes.h"

namespace zk::protocol {

inline constexpr std::size_t frame_overhead = 8;
inline constexpr std::size_t max_payload = 252; // the largest the length byte can describe
inline constexpr std::size_t min_reply_length = 9;
inline constexpr std::size_t command_offset = 7;
inline constexpr std::size_t operation_offset = 8;
inline constexpr std::size_t data_offset = 9;

enum class Operation : std::uint8_t
{
    read = 0x00,  // request: report; reply: data
    write = 0xC5, // request: store or act
    ack = 0x55,   // reply: the write was carried out
};

enum class Command : std::uint8_t
{
    volume = 0xA8,
    timings = 0x41,
    controller_id = 0x92,
    authorisation = 0xA4,
    registry = 0xA5,
    swipe_mode = 0xA6,
    fingerprint_count = 0xA9,
    projector_codes = 0x45,
};

// Wraps a payload in a frame; nullopt when the payload is longer than max_payload.
std::optional<Bytes> wrap_frame(ByteView payload);

// True when the bytes are long enough to carry a command and start with "HS3"; nothing else of
// a reply (marker, length, reserved bytes, checksum) is checked.
bool looks_like_frame(ByteView bytes);

// The payload of a well-formed request frame: "HS3", the marker, a length byte that matches the
// datagram, a payload of at least command and operation, and the right checksum; nullopt for
// anything else. The reserved bytes are not examined.
std::optional<Bytes> unwrap_frame(ByteView frame);

// XOR of frame bytes 4 .. size-2; what a correct frame stores in its last byte.
std::uint8_t frame_checksum(ByteView frame);

} // namespace zk::protocol
