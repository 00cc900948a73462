#pragma once
// IPv4 addresses as people type them. One reading for every box and option: four decimal
// numbers, so "10.66.0.010" is .10 and never the octal .8 the C library would make of it.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zk {

using Ipv4Bytes = std::array<std::uint8_t, 4>;

// Four dot-separated decimal numbers 0-255 once spaces are gone (leading zeros change nothing);
// nullopt otherwise.
std::optional<Ipv4Bytes> parse_dotted_ipv4(std::string_view text);

// True for text a resolver would take for a numeric address (digits and dots, a "0x" form) even
// when it is not four numbers 0-255: such text is a mistyped address, never a host name.
bool looks_numeric(std::string_view text);

// The address as one number, its first byte highest (how sockets hold it in host order), and
// back.
std::uint32_t ipv4_number(const Ipv4Bytes& address);
Ipv4Bytes ipv4_bytes(std::uint32_t number);

// The number of a dotted text that parse_dotted_ipv4 accepts; nullopt for any other text.
std::optional<std::uint32_t> parse_ipv4_number(std::string_view text);

// "192.168.1.20": four decimal numbers without leading zeros.
std::string ipv4_text(const Ipv4Bytes& address);

// The netmask of a prefix length as the system reports it (24 gives 255.255.255.0), dotted;
// empty for a length past 32, which names no IPv4 netmask.
std::string prefix_netmask_text(unsigned length);

} // namespace zk
