#include "protocol/hs3_frame.h"

#include <algorithm>

namespace zk::protocol {

namespace {

constexpr std::uint8_t signature[] = {0x48, 0x53, 0x33}; // "HS3"
constexpr std::uint8_t marker = 0xFF;
constexpr std::size_t length_offset = 4;

} // namespace

std::optional<Bytes> wrap_frame(ByteView payload)
{
    if (payload.size() > max_payload) return std::nullopt;
    Bytes frame(payload.size() + frame_overhead, 0);
    std::copy(std::begin(signature), std::end(signature), frame.begin());
    frame[3] = marker;
    frame[length_offset] = static_cast<std::uint8_t>(payload.size() + 3);
    std::copy(payload.begin(), payload.end(), frame.begin() + command_offset);
    frame.back() = frame_checksum(frame);
    return frame;
}

bool looks_like_frame(ByteView bytes)
{
    return bytes.size() >= min_reply_length &&
           std::equal(std::begin(signature), std::end(signature), bytes.begin());
}

std::optional<Bytes> unwrap_frame(ByteView frame)
{
    if (frame.size() < frame_overhead + 2 || frame.size() - 5 > 0xFF || !looks_like_frame(frame))
        return std::nullopt;
    if (frame[3] != marker || frame[length_offset] != frame.size() - 5 ||
        frame.back() != frame_checksum(frame))
        return std::nullopt;
    return Bytes(frame.begin() + command_offset, frame.end() - 1);
}

std::uint8_t frame_checksum(ByteView frame)
{
    std::uint8_t x = 0;
    // Covers length, reserved bytes and payload; stops before the checksum byte itself.
    for (std::size_t at = length_offset; at + 1 < frame.size(); ++at)
        x ^= frame[at];
    return x;
}

} // namespace zk::protocol
