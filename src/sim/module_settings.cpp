#include "sim/module_settings.h"

#include <algorithm>

namespace zk::sim {

namespace {

namespace off = discovery::offset;

constexpr std::size_t name_at = 35;
constexpr std::size_t config_mac_at = 56;
constexpr std::size_t dhcp_at = 74;
constexpr std::size_t second_port_at = 104;
constexpr std::size_t first_port_at = 169;
constexpr std::size_t port_block_size = 65;

// A serial port's block as it leaves the factory, from its index byte on: disabled, TCP server on
// local port 2000 towards 192.168.1.100:1000, 9600 8N1, then two reserved bytes, an empty domain
// name of 21 bytes and 14 reserved bytes.
constexpr std::array<std::uint8_t, 30> factory_port_head = {
    0x00, 0x00, 0x00, 0x00, 0xD0, 0x07, 0xC0, 0xA8, 0x01, 0x64, 0xE8, 0x03, 0x80, 0x25, 0x00,
    0x00, 0x08, 0x01, 0x04, 0x01, 0x00, 0x04, 0x00, 0x00, 0x32, 0x00, 0x00, 0x00, 0xFF, 0xFF,
};
constexpr std::size_t domain_size = 21;

// Offsets below are datagram offsets; the block starts at 30.
void put(ParameterBlock& block, std::size_t at, ByteView bytes)
{
    std::copy(bytes.begin(), bytes.end(),
              block.begin() + static_cast<std::ptrdiff_t>(at - block_at));
}

void put_le(ParameterBlock& block, std::size_t at, std::uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        block[at - block_at + static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(value >> (8 * i));
}

void factory_port(ParameterBlock& block, std::size_t at, std::uint8_t index)
{
    put(block, at, factory_port_head);
    block[at - block_at] = index;
    std::fill_n(block.begin() + static_cast<std::ptrdiff_t>(at - block_at + 30 + domain_size),
                port_block_size - 30 - domain_size, std::uint8_t{0xFF});
}

template <std::size_t N> std::array<std::uint8_t, N> take(ByteView datagram, std::size_t at)
{
    std::array<std::uint8_t, N> out{};
    std::copy_n(datagram.begin() + static_cast<std::ptrdiff_t>(at), N, out.begin());
    return out;
}

std::uint32_t as_number(const Ipv4& address)
{
    return read_be32(address, 0);
}

std::string dotted(const Ipv4& address)
{
    return discovery::dotted(address, 0);
}

// The checks of the network part, mask first so that the subnet means something.
std::string address_refusal(const Ipv4& ip, const Ipv4& mask, const Ipv4& gateway)
{
    const std::uint32_t m = as_number(mask);
    const std::uint32_t host_bits = ~m;
    if ((host_bits & (host_bits + 1)) != 0) return "mask " + dotted(mask) + " not contiguous";
    const std::uint32_t address = as_number(ip);
    if (address == 0) return "address 0.0.0.0";
    // A /31 or /32 has no broadcast address of its own.
    const bool has_broadcast = host_bits >= 3;
    if (address == 0xFFFFFFFFu || (has_broadcast && (address | m) == 0xFFFFFFFFu))
        return "broadcast address " + dotted(ip);
    const std::uint32_t router = as_number(gateway);
    if ((router & m) != (address & m)) return "gateway " + dotted(gateway) + " outside the subnet";
    if (router == address) return "gateway equal to the address";
    return {};
}

} // namespace

ParameterBlock factory_block()
{
    ParameterBlock block{};
    std::fill(block.begin() + (75 - block_at), block.begin() + (second_port_at - block_at),
              std::uint8_t{0xFF});
    factory_port(block, second_port_at, 2);
    factory_port(block, first_port_at, 1);
    return block;
}

std::uint8_t version_byte(const ModuleSettings& module)
{
    return static_cast<std::uint8_t>(((module.hardware_version & 0x0F) << 4) |
                                     (module.software_version & 0x0F));
}

ParameterBlock parameter_block(const ModuleSettings& m)
{
    ParameterBlock block = m.block;
    put(block, 30,
        Bytes{m.device_type, m.device_subtype, m.device_index, m.hardware_version,
              m.software_version});
    std::fill_n(block.begin() + (name_at - block_at), name_room, std::uint8_t{0});
    put(block, name_at,
        ByteView(reinterpret_cast<const std::uint8_t*>(m.name.data()),
                 std::min(m.name.size(), name_room - 1)));
    put(block, config_mac_at, m.mac);
    put(block, off::ip, m.ip);
    put(block, off::gateway, m.gateway);
    put(block, off::mask, m.mask);
    block[dhcp_at - block_at] = m.dhcp;
    block[first_port_at - block_at] = 1;
    block[170 - block_at] = m.port_enabled;
    block[171 - block_at] = m.mode;
    block[172 - block_at] = m.random_local_port;
    put_le(block, 173, m.local_port, 2);
    put(block, off::server_ip, m.destination_ip);
    put_le(block, off::port, m.destination_port, 2);
    put_le(block, 181, m.baud, 4);
    block[185 - block_at] = m.data_bits;
    block[186 - block_at] = m.stop_bits;
    block[187 - block_at] = m.parity;
    put(block, 188, m.serial_rest);
    return block;
}

void store_block(ModuleSettings& module, ByteView datagram)
{
    const std::uint8_t second_index = module.block[second_port_at - block_at];
    std::copy_n(datagram.begin() + block_at, block_size, module.block.begin());
    const auto name = datagram.subspan(name_at, name_room - 1);
    module.name.assign(name.begin(), std::find(name.begin(), name.end(), std::uint8_t{0}));
    module.ip = take<4>(datagram, off::ip);
    module.gateway = take<4>(datagram, off::gateway);
    module.mask = take<4>(datagram, off::mask);
    module.dhcp = datagram[dhcp_at];
    module.port_enabled = datagram[170];
    module.mode = datagram[171];
    module.random_local_port = datagram[172];
    module.local_port = static_cast<std::uint16_t>(read_le16(datagram, 173));
    module.destination_ip = take<4>(datagram, off::server_ip);
    module.destination_port = static_cast<std::uint16_t>(read_le16(datagram, off::port));
    module.baud = read_le32(datagram, 181);
    module.data_bits = datagram[185];
    module.stop_bits = datagram[186];
    module.parity = datagram[187];
    module.serial_rest = take<9>(datagram, 188);
    module.block[second_port_at - block_at] = second_index;
}

void restore_factory(ModuleSettings& module, const ModuleSettings& factory)
{
    ModuleSettings restored = factory;
    restored.mac = module.mac;
    restored.device_type = module.device_type;
    restored.device_subtype = module.device_subtype;
    restored.device_index = module.device_index;
    restored.hardware_version = module.hardware_version;
    restored.software_version = module.software_version;
    module = restored;
}

std::string refusal_reason(ByteView datagram)
{
    const std::string network = address_refusal(
        take<4>(datagram, off::ip), take<4>(datagram, off::mask), take<4>(datagram, off::gateway));
    if (!network.empty()) return network;
    if (datagram[dhcp_at] > 1) return "DHCP flag " + std::to_string(datagram[dhcp_at]);
    const auto name = datagram.subspan(name_at, name_room);
    if (std::find(name.begin(), name.end(), std::uint8_t{0}) == name.end())
        return "module name without its terminating zero";
    // With a random local port the module never uses the one in the block.
    if (datagram[172] == 0 && read_le16(datagram, 173) == 0) return "local port 0";
    if (read_le16(datagram, off::port) == 0) return "destination port 0";
    return {};
}

} // namespace zk::sim
