#include "discovery/config_datagram.h"

#include <algorithm>

#include "base/text.h"

namespace zk::discovery {

namespace {

// Written into every write request; the module's port, serial and packet settings the
// controller's command handler relies on.
struct Constant
{
    std::size_t at;
    std::uint8_t value;
};

// UDP client (3) on fixed local port 16006 (86 3E), 115200 baud 8N1 without parity (04), then
// the flush flag, packet length 1024 and timeout 50.
constexpr Constant write_constants[] = {
    {offset::mode, 0x03},
    {offset::random_local_port, 0x00},
    {offset::local_port, 0x86},
    {offset::local_port + 1, 0x3E},
    {offset::baud, 0x00},
    {offset::baud + 1, 0xC2},
    {offset::baud + 2, 0x01},
    {offset::baud + 3, 0x00},
    {offset::data_bits, 0x08},
    {offset::stop_bits, 0x01},
    {offset::parity, 0x04},
    {offset::serial_rest, 0x01},
    {offset::serial_rest + 1, 0x00},
    {offset::serial_rest + 2, 0x04},
    {offset::serial_rest + 3, 0x00},
    {offset::serial_rest + 4, 0x00},
    {offset::serial_rest + 5, 0x32},
    {offset::serial_rest + 6, 0x00},
    {offset::serial_rest + 7, 0x00},
    {offset::serial_rest + 8, 0x00},
};

// The settings the constants above set, as a person reads them.
struct ConstantField
{
    std::string_view name;
    std::size_t at;
    std::size_t width; // bytes, low byte first
};

constexpr ConstantField constant_fields[] = {
    {"mode", offset::mode, 1},
    {"random local port", offset::random_local_port, 1},
    {"local port", offset::local_port, 2},
    {"baud", offset::baud, 4},
    {"data bits", offset::data_bits, 1},
    {"stop bits", offset::stop_bits, 1},
    {"parity", offset::parity, 1},
    {"flush", offset::serial_rest, 1},
    {"packet length", offset::serial_rest + 1, 4},
    {"packet timeout", offset::serial_rest + 5, 4},
};

std::uint32_t value_of(ByteView block, const ConstantField& field)
{
    if (field.width == 1) return block[field.at];
    return field.width == 2 ? read_le16(block, field.at) : read_le32(block, field.at);
}

constexpr std::string_view flag_letters_checked = "CH9121";

void put_ipv4(Bytes& block, std::size_t at, const Ipv4& address)
{
    std::copy(address.begin(), address.end(), block.begin() + static_cast<std::ptrdiff_t>(at));
}

} // namespace

Bytes config_request(ConfigCode code, ByteView payload)
{
    Bytes datagram(config_length, 0);
    std::copy(config_flag.begin(), config_flag.end(), datagram.begin());
    datagram[offset::code] = static_cast<std::uint8_t>(code);
    const std::size_t room = config_length - offset::mac;
    const std::size_t count = std::min(payload.size(), room);
    std::copy_n(payload.begin(), count, datagram.begin() + offset::mac);
    return datagram;
}

Bytes search_request()
{
    return config_request(ConfigCode::search_request, Bytes(mac_width, 0));
}

Bytes read_request(ByteView mac)
{
    return config_request(ConfigCode::read_request, mac);
}

std::optional<std::uint8_t> accepted_code(ByteView datagram)
{
    if (datagram.size() < config_length) return std::nullopt;
    if (!std::equal(flag_letters_checked.begin(), flag_letters_checked.end(), datagram.begin()))
        return std::nullopt;
    return datagram[offset::code];
}

bool comes_in_bursts(ByteView datagram)
{
    return accepted_code(datagram) == static_cast<std::uint8_t>(ConfigCode::search_reply);
}

Bytes mac_at(ByteView datagram)
{
    return Bytes(datagram.begin() + offset::mac, datagram.begin() + offset::mac + mac_width);
}

std::string dotted(ByteView datagram, std::size_t at)
{
    std::string text;
    for (std::size_t i = 0; i < 4; ++i) {
        if (i > 0) text += '.';
        text += to_text(std::int64_t{datagram[at + i]});
    }
    return text;
}

std::string mac_entry(ByteView mac)
{
    std::string text = "MAC:";
    for (std::size_t i = 0; i < mac.size(); ++i) {
        if (i > 0) text += ':';
        text += to_hex_text(mac[i]);
    }
    return text;
}

std::string list_entry(ByteView mac, const Ipv4& ip)
{
    return mac_entry(mac) + " IP:" + dotted(ip, 0);
}

std::string search_entry(ByteView reply)
{
    return list_entry(reply.subspan(offset::mac, mac_width), ipv4_at(reply, offset::search_ip));
}

std::string port_text(ByteView block)
{
    return to_text(std::int64_t{read_le16(block, offset::port)});
}

bool is_config_reply_of(ByteView block, ByteView mac)
{
    const std::optional<std::uint8_t> code = accepted_code(block);
    if (code != static_cast<std::uint8_t>(ConfigCode::config_reply)) return false;
    return mac.size() == mac_width &&
           std::equal(mac.begin(), mac.end(), block.begin() + offset::mac);
}

Bytes write_request(ByteView held, ByteView mac, const NetworkParameters& parameters)
{
    Bytes block(held.begin(), held.end());
    if (block.size() < config_length) block.resize(config_length, 0);
    block[offset::code] = static_cast<std::uint8_t>(ConfigCode::write_request);
    std::copy_n(mac.begin(), std::min(mac.size(), mac_width), block.begin() + offset::mac);
    put_ipv4(block, offset::ip, parameters.ip);
    put_ipv4(block, offset::mask, parameters.mask);
    put_ipv4(block, offset::gateway, parameters.gateway);
    put_ipv4(block, offset::server_ip, parameters.server_ip);
    write_le(block, offset::port, parameters.port, 2);
    for (const Constant& constant : write_constants)
        block[constant.at] = constant.value;
    return block;
}

std::vector<std::string> constant_changes(ByteView held, ByteView request)
{
    std::vector<std::string> out;
    if (held.size() < config_length || request.size() < config_length) return out;
    for (const ConstantField& field : constant_fields) {
        const std::uint32_t from = value_of(held, field);
        const std::uint32_t to = value_of(request, field);
        if (from != to)
            out.push_back(std::string(field.name) + " " + std::to_string(from) + " → " +
                          std::to_string(to));
    }
    return out;
}

} // namespace zk::discovery
