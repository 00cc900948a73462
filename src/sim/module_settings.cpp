#include "sim/module_settings.h"

#include <algorithm>

namespace zk::sim {

namespace {

namespace off = discovery::offset;

// A serial port's block as it leaves the factory, from its index byte on: disabled, TCP server on
// local port 2000 towards 192.168.1.100:1000, 9600 8N1, then two reserved bytes, an empty domain
// name of 21 bytes and 14 reserved bytes.
constexpr std::array<std::uint8_t, 30> factory_port_head = {
    0x00, 0x00, 0x00, 0x00, 0xD0, 0x07, 0xC0, 0xA8, 0x01, 0x64, 0xE8, 0x03, 0x80, 0x25, 0x00,
    0x00, 0x08, 0x01, 0x04, 0x01, 0x00, 0x04, 0x00, 0x00, 0x32, 0x00, 0x00, 0x00, 0xFF, 0xFF,
};
constexpr std::size_t domain_size = 21;

// Offsets below are datagram offsets, as the layout names them.
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
    const std::size_t reserved = factory_port_head.size() + domain_size;
    std::fill_n(block.begin() + static_cast<std::ptrdiff_t>(at - block_at + reserved),
                discovery::port_block_size - reserved, std::uint8_t{0xFF});
}

template <std::size_t N> std::array<std::uint8_t, N> take(ByteView datagram, std::size_t at)
{
    std::array<std::uint8_t, N> out{};
    std::copy_n(datagram.begin() + static_cast<std::ptrdiff_t>(at), N, out.begin());
    return out;
}

} // namespace

ParameterBlock factory_block()
{
    ParameterBlock block{};
    std::fill(block.begin() + (off::reserved - block_at),
              block.begin() + (off::second_port - block_at), std::uint8_t{0xFF});
    factory_port(block, off::second_port, 2);
    factory_port(block, off::first_port, 1);
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
    put(block, off::device_type,
        Bytes{m.device_type, m.device_subtype, m.device_index, m.hardware_version,
              m.software_version});
    std::fill_n(block.begin() + (off::name - block_at), name_room, std::uint8_t{0});
    put(block, off::name,
        ByteView(reinterpret_cast<const std::uint8_t*>(m.name.data()),
                 std::min(m.name.size(), name_room - 1)));
    put(block, off::block_mac, m.mac);
    put(block, off::ip, m.ip);
    put(block, off::gateway, m.gateway);
    put(block, off::mask, m.mask);
    block[off::dhcp - block_at] = m.dhcp;
    block[off::first_port - block_at] = 1;
    block[off::port_enabled - block_at] = m.port_enabled;
    block[off::mode - block_at] = m.mode;
    block[off::random_local_port - block_at] = m.random_local_port;
    put_le(block, off::local_port, m.local_port, 2);
    put(block, off::server_ip, m.destination_ip);
    put_le(block, off::port, m.destination_port, 2);
    put_le(block, off::baud, m.baud, 4);
    block[off::data_bits - block_at] = m.data_bits;
    block[off::stop_bits - block_at] = m.stop_bits;
    block[off::parity - block_at] = m.parity;
    put(block, off::serial_rest, m.serial_rest);
    return block;
}

void store_block(ModuleSettings& module, ByteView datagram)
{
    const std::uint8_t second_index = module.block[off::second_port - block_at];
    std::copy_n(datagram.begin() + block_at, block_size, module.block.begin());
    const auto name = datagram.subspan(off::name, name_room - 1);
    module.name.assign(name.begin(), std::find(name.begin(), name.end(), std::uint8_t{0}));
    module.ip = take<4>(datagram, off::ip);
    module.gateway = take<4>(datagram, off::gateway);
    module.mask = take<4>(datagram, off::mask);
    module.dhcp = datagram[off::dhcp];
    module.port_enabled = datagram[off::port_enabled];
    module.mode = datagram[off::mode];
    module.random_local_port = datagram[off::random_local_port];
    module.local_port = static_cast<std::uint16_t>(read_le16(datagram, off::local_port));
    module.destination_ip = take<4>(datagram, off::server_ip);
    module.destination_port = static_cast<std::uint16_t>(read_le16(datagram, off::port));
    module.baud = read_le32(datagram, off::baud);
    module.data_bits = datagram[off::data_bits];
    module.stop_bits = datagram[off::stop_bits];
    module.parity = datagram[off::parity];
    module.serial_rest = take<discovery::serial_rest_size>(datagram, off::serial_rest);
    module.block[off::second_port - block_at] = second_index;
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

} // namespace zk::sim
