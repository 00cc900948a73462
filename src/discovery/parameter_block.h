#pragma once
// Where everything sits in the network module's 285-byte configuration datagram and in the
// parameter block it carries at 30-233, named once for the tool, zkctl and the simulated module;
// which blocks a careful module refuses to store, and which parameters no controller can use.
// Offsets count from the start of the datagram; the ports and serial numbers travel low byte first,
// addresses first number first.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/bytes.h"

namespace zk::discovery {

inline constexpr std::size_t config_length = 285;
inline constexpr std::size_t mac_width = 6;
inline constexpr std::size_t name_room = 21; // the module name and its terminating zero

using Ipv4 = std::array<std::uint8_t, 4>;

namespace offset {
// The head every configuration datagram has.
inline constexpr std::size_t code = 16;
inline constexpr std::size_t mac = 17;
inline constexpr std::size_t pc_mac = 23;
inline constexpr std::size_t data_length = 29;
inline constexpr std::size_t search_ip = 30; // a search reply's address, then its name
// The parameter block, 30-233.
inline constexpr std::size_t block = 30;
inline constexpr std::size_t device_type = 30; // then subtype, index, hardware, software
inline constexpr std::size_t name = 35;
inline constexpr std::size_t block_mac = 56;
inline constexpr std::size_t ip = 62;
inline constexpr std::size_t gateway = 66;
inline constexpr std::size_t mask = 70;
inline constexpr std::size_t dhcp = 74;
inline constexpr std::size_t reserved = 75;     // up to the second serial port, 0xFF
inline constexpr std::size_t second_port = 104; // its whole block, from its index byte
inline constexpr std::size_t first_port = 169;  // its index byte, then the fields below
inline constexpr std::size_t port_enabled = 170;
inline constexpr std::size_t mode = 171;
inline constexpr std::size_t random_local_port = 172;
inline constexpr std::size_t local_port = 173;
inline constexpr std::size_t server_ip = 175;
inline constexpr std::size_t port = 179;
inline constexpr std::size_t baud = 181;
inline constexpr std::size_t data_bits = 185;
inline constexpr std::size_t stop_bits = 186;
inline constexpr std::size_t parity = 187;
inline constexpr std::size_t serial_rest = 188; // flush flag, packet length and timeout, 9 bytes
} // namespace offset

inline constexpr std::size_t block_size = 0xCC; // the data length of a configuration reply
inline constexpr std::size_t port_block_size = offset::first_port - offset::second_port;
inline constexpr std::size_t serial_rest_size = 9;

// The parameters an operator may change in a write.
struct NetworkParameters
{
    Ipv4 ip{};
    Ipv4 mask{};
    Ipv4 gateway{};
    Ipv4 server_ip{};
    std::uint16_t port = 0;
    bool operator==(const NetworkParameters&) const = default;
};

// The four bytes of an address at `at`; the caller has checked the length.
Ipv4 ipv4_at(ByteView datagram, std::size_t at);

// The operator's parameters a configuration datagram of at least 234 bytes carries.
NetworkParameters parameters_of(ByteView datagram);

enum class Refusal
{
    address_zero,
    broadcast_address,
    mask_not_contiguous,
    gateway_outside_subnet,
    gateway_is_address,
    dhcp_flag,
    name_unterminated,
    local_port_zero, // only when the module would use it: the random-port byte is clear
    server_port_zero,
    too_short,
    // Only the operator's parameters are held to these: no controller can use such values.
    mask_zero,
    address_multicast,
    server_zero,
};

struct RefusalReason
{
    Refusal kind;
    std::string text; // "gateway outside the subnet", as the log and the dissector say it
    bool operator==(const RefusalReason&) const = default;
};

// Every reason a module that checks writes would refuse the block of `datagram` (a whole
// configuration datagram), in a fixed order; empty when the block is sound. This is one
// module's model, for the simulator and the dissector: the bytes it judges beyond the
// parameters are each controller's own, and a tool never holds another controller to them.
std::vector<RefusalReason> refusal_reasons(ByteView datagram);

// Why no controller could use these parameters, the only part of a write the operator sets; the
// check the tool makes before it sends one. A gateway of 0.0.0.0 means none.
std::vector<RefusalReason> parameter_refusals(const NetworkParameters& parameters);

// The reasons' texts joined by ", "; "" for none.
std::string refusal_text(const std::vector<RefusalReason>& reasons);

} // namespace zk::discovery
