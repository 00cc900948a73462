#include "discovery/parameter_block.h"

#include "discovery/block_codec.h"
#include "discovery/layout.h"

namespace zk::discovery {

namespace {

// A serial setting as a person reads it, and where it sits.
struct SerialField
{
    std::string_view name;
    std::uint32_t (*value)(const SerialSettings&);
};

constexpr SerialField serial_fields[] = {
    {"mode", [](const SerialSettings& s) -> std::uint32_t { return s.mode; }},
    {"random local port",
     [](const SerialSettings& s) -> std::uint32_t { return s.random_local_port; }},
    {"local port", [](const SerialSettings& s) -> std::uint32_t { return s.local_port; }},
    {"baud", [](const SerialSettings& s) -> std::uint32_t { return s.baud; }},
    {"data bits", [](const SerialSettings& s) -> std::uint32_t { return s.data_bits; }},
    {"stop bits", [](const SerialSettings& s) -> std::uint32_t { return s.stop_bits; }},
    {"parity", [](const SerialSettings& s) -> std::uint32_t { return s.parity; }},
    {"flush", [](const SerialSettings& s) -> std::uint32_t { return s.flush; }},
    {"packet length", [](const SerialSettings& s) -> std::uint32_t { return s.packet_length; }},
    {"packet timeout", [](const SerialSettings& s) -> std::uint32_t { return s.packet_timeout; }},
};

} // namespace

Ipv4 take_ipv4(ByteView datagram, std::size_t at)
{
    return {datagram[at], datagram[at + 1], datagram[at + 2], datagram[at + 3]};
}

Mac take_mac(ByteView datagram, std::size_t at)
{
    Mac mac{};
    std::copy_n(datagram.begin() + static_cast<std::ptrdiff_t>(at), mac.size(), mac.begin());
    return mac;
}

void put_block_fields(Bytes& out, const ParameterBlock& block)
{
    const NetworkParameters& n = block.network;
    put_bytes(out, offset::ip, n.ip);
    put_bytes(out, offset::mask, n.mask);
    put_bytes(out, offset::gateway, n.gateway);
    put_bytes(out, offset::server_ip, n.server_ip);
    write_le(out, offset::port, n.port, 2);
    const SerialSettings& s = block.serial;
    out[offset::mode] = s.mode;
    out[offset::random_local_port] = s.random_local_port;
    write_le(out, offset::local_port, s.local_port, 2);
    write_le(out, offset::baud, s.baud, 4);
    out[offset::data_bits] = s.data_bits;
    out[offset::stop_bits] = s.stop_bits;
    out[offset::parity] = s.parity;
    out[offset::serial_rest] = s.flush;
    write_le(out, offset::serial_rest + 1, s.packet_length, 4);
    write_le(out, offset::serial_rest + 5, s.packet_timeout, 4);
}

ParameterBlock take_block(Bytes datagram)
{
    ParameterBlock block;
    block.network = {take_ipv4(datagram, offset::ip), take_ipv4(datagram, offset::mask),
                     take_ipv4(datagram, offset::gateway), take_ipv4(datagram, offset::server_ip),
                     static_cast<std::uint16_t>(read_le16(datagram, offset::port))};
    SerialSettings& s = block.serial;
    s.mode = datagram[offset::mode];
    s.random_local_port = datagram[offset::random_local_port];
    s.local_port = static_cast<std::uint16_t>(read_le16(datagram, offset::local_port));
    s.baud = read_le32(datagram, offset::baud);
    s.data_bits = datagram[offset::data_bits];
    s.stop_bits = datagram[offset::stop_bits];
    s.parity = datagram[offset::parity];
    s.flush = datagram[offset::serial_rest];
    s.packet_length = read_le32(datagram, offset::serial_rest + 1);
    s.packet_timeout = read_le32(datagram, offset::serial_rest + 5);
    put_block_fields(datagram, ParameterBlock{}); // the named bytes are the fields' alone
    block.other.bytes = std::move(datagram);
    return block;
}

std::vector<std::string> serial_changes(const SerialSettings& held, const SerialSettings& sent)
{
    std::vector<std::string> out;
    for (const SerialField& field : serial_fields) {
        const std::uint32_t from = field.value(held);
        const std::uint32_t to = field.value(sent);
        if (from != to)
            out.push_back(std::string(field.name) + " " + std::to_string(from) + " → " +
                          std::to_string(to));
    }
    return out;
}

} // namespace zk::discovery
