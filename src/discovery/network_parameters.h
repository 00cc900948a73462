#pragma once
// What an operator sets of a controller's network module, as values: its address, mask, gateway,
// and the server and port its answers go to. Files and windows hold these without knowing where
// they travel in a configuration datagram.
#include <array>
#include <cstddef>
#include <cstdint>

namespace zk::discovery {

inline constexpr std::size_t mac_width = 6;

using Ipv4 = std::array<std::uint8_t, 4>;
using Mac = std::array<std::uint8_t, mac_width>;

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

} // namespace zk::discovery
