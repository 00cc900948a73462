#include "discovery/module_settings.h"

#include <algorithm>

#include "discovery/block_codec.h"
#include "discovery/layout.h"

namespace zk::discovery {

namespace {

namespace off = offset;
constexpr std::size_t block_at = off::block;

// A serial port's block as it leaves the factory, from its index byte on: disabled, TCP server on
// local port 2000 towards 192.168.1.100:1000, 9600 8N1, then two reserved bytes, an empty domain
// name of 21 bytes and 14 reserved bytes.
constexpr std::array<std::uint8_t, 30> factory_port_head = {
    0x00, 0x00, 0x00, 0x00, 0xD0, 0x07, 0xC0, 0xA8, 0x01, 0x64, 0xE8, 0x03, 0x80, 0x25, 0x00,
    0x00, 0x08, 0x01, 0x04, 0x01, 0x00, 0x04, 0x00, 0x00, 0x32, 0x00, 0x00, 0x00, 0xFF, 0xFF,
};
constexpr std::size_t domain_size = 21;

void put(StoredBlock& block, std::size_t at, ByteView bytes)
{
    std::copy(bytes.begin(), bytes.end(),
              block.begin() + static_cast<std::ptrdiff_t>(at - block_at));
}

void factory_port(StoredBlock& block, std::size_t at, std::uint8_t index)
{
    put(block, at, factory_port_head);
    block[at - block_at] = index;
    const std::size_t reserved = factory_port_head.size() + domain_size;
    std::fill_n(block.begin() + static_cast<std::ptrdiff_t>(at - block_at + reserved),
                port_block_size - reserved, std::uint8_t{0xFF});
}

template <std::size_t N> std::array<std::uint8_t, N> take(ByteView datagram, std::size_t at)
{
    std::array<std::uint8_t, N> out{};
    std::copy_n(datagram.begin() + static_cast<std::ptrdiff_t>(at), N, out.begin());
    return out;
}

// The module's own bytes (identity, name, block MAC, DHCP, port index and enable) over its
// stored block, at their datagram offsets in `datagram`.
void put_own_bytes(Bytes& datagram, const ModuleSettings& m)
{
    put_bytes(datagram, block_at, m.block);
    put_bytes(datagram, off::device_type,
              Bytes{m.device_type, m.device_subtype, m.device_index, m.hardware_version,
                    m.software_version});
    std::fill_n(datagram.begin() + off::name, name_room, std::uint8_t{0});
    put_bytes(datagram, off::name,
              ByteView(reinterpret_cast<const std::uint8_t*>(m.name.data()),
                       std::min(m.name.size(), name_room - 1)));
    put_bytes(datagram, off::block_mac, m.mac);
    datagram[off::dhcp] = m.dhcp;
    datagram[off::first_port] = 1;
    datagram[off::port_enabled] = m.port_enabled;
}

SerialSettings serial_of(const ModuleSettings& m)
{
    const auto rest = ByteView(m.serial_rest);
    return {
        m.mode,  m.random_local_port, m.local_port,      m.baud, m.data_bits, m.stop_bits, m.parity,
        rest[0], read_le32(rest, 1),  read_le32(rest, 5)};
}

} // namespace

StoredBlock factory_block()
{
    StoredBlock block{};
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

ParameterBlock parameter_block(const ModuleSettings& m, Remainder head)
{
    Bytes datagram = std::move(head.bytes);
    datagram.resize(std::max(datagram.size(), datagram_length), 0);
    put_own_bytes(datagram, m);
    ParameterBlock block = take_block(std::move(datagram));
    block.network = {m.ip, m.mask, m.gateway, m.destination_ip, m.destination_port};
    block.serial = serial_of(m);
    return block;
}

void store_block(ModuleSettings& module, const ParameterBlock& written)
{
    Bytes datagram = written.other.bytes;
    datagram.resize(std::max(datagram.size(), datagram_length), 0);
    put_block_fields(datagram, written);
    const std::uint8_t second_index = module.block[off::second_port - block_at];
    std::copy_n(datagram.begin() + block_at, block_size, module.block.begin());
    const auto name = ByteView(datagram).subspan(off::name, name_room - 1);
    module.name.assign(name.begin(), std::find(name.begin(), name.end(), std::uint8_t{0}));
    const NetworkParameters& n = written.network;
    module.ip = n.ip;
    module.gateway = n.gateway;
    module.mask = n.mask;
    module.destination_ip = n.server_ip;
    module.destination_port = n.port;
    module.dhcp = datagram[off::dhcp];
    module.port_enabled = datagram[off::port_enabled];
    const SerialSettings& s = written.serial;
    module.mode = s.mode;
    module.random_local_port = s.random_local_port;
    module.local_port = s.local_port;
    module.baud = s.baud;
    module.data_bits = s.data_bits;
    module.stop_bits = s.stop_bits;
    module.parity = s.parity;
    module.serial_rest = take<9>(datagram, off::serial_rest);
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

bool strictly_formed(ByteView request)
{
    return request.size() == datagram_length &&
           std::equal(config_flag.begin(), config_flag.end(), request.begin()) &&
           request[config_flag.size()] == 0;
}

Remainder answer_head(ByteView request)
{
    Bytes head(datagram_length, 0);
    std::copy(config_flag.begin(), config_flag.end(), head.begin());
    if (request.size() >= off::data_length)
        put_bytes(head, off::pc_mac, request.subspan(off::pc_mac, mac_width));
    return {head};
}

Remainder write_echo(ByteView request)
{
    Remainder echo = answer_head(request);
    const std::size_t end = std::min(request.size(), datagram_length);
    if (end > block_at)
        std::copy(request.begin() + block_at, request.begin() + static_cast<std::ptrdiff_t>(end),
                  echo.bytes.begin() + block_at);
    return echo;
}

SearchReply search_answer(const ModuleSettings& module, ByteView request)
{
    return {module.mac, module.ip, module.name.substr(0, name_room - 1), version_byte(module),
            answer_head(request)};
}

ConfigReply config_answer(const ModuleSettings& module, ByteView request)
{
    Remainder head = answer_head(request);
    head.bytes[off::data_length] = static_cast<std::uint8_t>(block_size);
    return {module.mac, parameter_block(module, std::move(head))};
}

} // namespace zk::discovery
