#pragma once
// The byte values requests and replies share, named once for both directions.
#include <cstdint>

#include "protocol/hs3_frame.h"

namespace zk::protocol {

constexpr std::uint8_t byte_of(Command command)
{
    return static_cast<std::uint8_t>(command);
}

constexpr std::uint8_t byte_of(Operation operation)
{
    return static_cast<std::uint8_t>(operation);
}

inline constexpr std::uint8_t op_read = byte_of(Operation::read); // also "data" in a reply
inline constexpr std::uint8_t op_write = byte_of(Operation::write);
inline constexpr std::uint8_t op_ack = byte_of(Operation::ack);
// The command byte of card and fingerprint requests, which most of them begin with.
inline constexpr std::uint8_t registry_command = byte_of(Command::registry);

// The volume command carries this constant after the operation, both ways.
inline constexpr std::uint8_t volume_channel = 0x01;
// What the timings write carries after the operation.
inline constexpr std::uint8_t timings_tag = 0x02;
// The power-on mode byte: swipe a card, or open to everyone.
inline constexpr std::uint8_t swipe_card_mode = 0x00;
inline constexpr std::uint8_t public_mode = 0x02;

// The authorisation check's state, asked for and acknowledged.
inline constexpr std::uint8_t authorisation_resumed = 0x00;
inline constexpr std::uint8_t authorisation_paused = 0x01;

// Sub-codes of the registry command, the byte after the operation; reads (and their data
// replies) and writes (and their acknowledgements) number theirs separately.
namespace registry_read {
inline constexpr std::uint8_t card = 0x00;
inline constexpr std::uint8_t count = 0x01;
inline constexpr std::uint8_t lookup = 0x02;
} // namespace registry_read

namespace registry_write {
inline constexpr std::uint8_t card = 0x00;
inline constexpr std::uint8_t enrol_fingerprint = 0x01;
inline constexpr std::uint8_t delete_fingerprint = 0x02;
inline constexpr std::uint8_t delete_card = 0x03;
} // namespace registry_write

// Projector serial settings: a code block starts with two marks; data and stop bits are fixed.
inline constexpr std::uint8_t code_block_mark = 0xCE;
inline constexpr std::uint8_t data_bits = 0x08;
inline constexpr std::uint8_t stop_bits = 0x01;

} // namespace zk::protocol
