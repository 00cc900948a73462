#pragma once
// The parameter block of a configuration reply or write as a value: the fields this system reads
// and writes are named, every other byte travels in `other` as the controller sent it. Nothing
// here judges those bytes; they are the controller's.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "base/ports.h"
#include "discovery/network_parameters.h"

namespace zk::discovery {

inline constexpr std::size_t datagram_length = 285; // requests; replies may be longer
inline constexpr std::size_t name_room = 21;        // the module name and its terminating zero
inline constexpr std::size_t block_size = 0xCC;     // the data length of a configuration reply

// The module's port and serial settings that every write sets to the values below.
struct SerialSettings
{
    std::uint8_t mode = 0; // 0 TCP server, 1 TCP client, 2 UDP server, 3 UDP client
    std::uint8_t random_local_port = 0;
    std::uint16_t local_port = 0;
    std::uint32_t baud = 0;
    std::uint8_t data_bits = 0;
    std::uint8_t stop_bits = 0;
    std::uint8_t parity = 0;
    std::uint8_t flush = 0;
    std::uint32_t packet_length = 0;
    std::uint32_t packet_timeout = 0;
    bool operator==(const SerialSettings&) const = default;
};

// UDP client on fixed local port 16006, 115200 baud 8N1 without parity (04), the flush flag,
// packet length 1024 and timeout 50: what the controller's command handler relies on.
inline constexpr SerialSettings written_serial{3, 0, hs3_remote_port, 115200, 8, 1, 4, 1, 1024, 50};

// Every byte of a datagram that no field of its message names, at its place and at the
// datagram's full length, the named bytes zero. Empty for a message of our own making, which
// goes out as the flag and zeros.
struct Remainder
{
    Bytes bytes;
    bool operator==(const Remainder&) const = default;
};

struct ParameterBlock
{
    NetworkParameters network;
    SerialSettings serial;
    Remainder other;
    bool operator==(const ParameterBlock&) const = default;
};

// "baud 9600 → 115200" for each serial setting that differs from `held` in `sent`, in block
// order; the operator sees everything a write changes, not only the fields asked for.
std::vector<std::string> serial_changes(const SerialSettings& held, const SerialSettings& sent);

} // namespace zk::discovery
