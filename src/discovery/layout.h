#pragma once
// Where everything sits in the network module's 285-byte configuration datagram and in the
// parameter block it carries at 30-233. Only the codec and the module model below read these:
// everything else works on the typed messages (message.h). Offsets count from the start of the
// datagram; ports and serial numbers travel low byte first, addresses first number first.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zk::discovery {

inline constexpr std::string_view config_flag = "CH9121_CFG_FLAG";
// The flag letters a datagram must carry to be looked at; the rest of the flag is not compared.
inline constexpr std::string_view flag_letters_checked = "CH9121";

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

inline constexpr std::size_t port_block_size = offset::first_port - offset::second_port;
inline constexpr std::size_t serial_rest_size = 9;

} // namespace zk::discovery
