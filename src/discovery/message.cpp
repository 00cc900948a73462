#include "discovery/message.h"

#include <algorithm>

#include "discovery/block_codec.h"
#include "discovery/config_datagram.h"
#include "discovery/layout.h"

namespace zk::discovery {

namespace {

enum class Code : std::uint8_t
{
    write_request = 0x01,
    read_request = 0x02,
    reset_request = 0x03,
    search_request = 0x04,
    write_ack = 0x81,
    config_reply = 0x82,
    reset_ack = 0x83,
    search_reply = 0x84,
    write_refused = 0xC1,
};
static_assert(static_cast<std::uint8_t>(Code::search_reply) == search_reply_code);

constexpr std::size_t address_width = 4;
constexpr std::size_t name_at = offset::search_ip + address_width;
constexpr std::size_t longest_name = name_room - 1;

// The flag letters, the code and the MAC over `other`, or over the flag and zeros when the
// message is our own.
Bytes head(Code code, const Mac& mac, const Remainder& other)
{
    Bytes out = other.bytes;
    if (out.empty()) {
        out.assign(datagram_length, 0);
        std::copy(config_flag.begin(), config_flag.end(), out.begin());
    }
    if (out.size() < datagram_length) out.resize(datagram_length, 0);
    std::copy(flag_letters_checked.begin(), flag_letters_checked.end(), out.begin());
    out[offset::code] = static_cast<std::uint8_t>(code);
    put_bytes(out, offset::mac, mac);
    return out;
}

// The name's length when byte 29 counts the address, a name of 1 to 20 non-zero bytes and its
// terminating zero; nullopt when it counts anything else.
std::optional<std::size_t> described_name(ByteView reply)
{
    const std::size_t counted = reply[offset::data_length];
    if (counted < address_width + 2 || counted > address_width + longest_name + 1)
        return std::nullopt;
    const std::size_t length = counted - address_width - 1;
    const auto name = reply.subspan(name_at, length);
    if (std::find(name.begin(), name.end(), std::uint8_t{0}) != name.end()) return std::nullopt;
    if (reply[name_at + length] != 0) return std::nullopt;
    return length;
}

void put_search_fields(Bytes& out, const Ipv4& ip, const std::string& name, std::uint8_t version)
{
    put_bytes(out, offset::search_ip, ip);
    if (name.empty()) return;
    const std::size_t length = std::min(name.size(), longest_name);
    out[offset::data_length] = static_cast<std::uint8_t>(address_width + length + 1);
    put_bytes(out, name_at, ByteView(reinterpret_cast<const std::uint8_t*>(name.data()), length));
    out[name_at + length] = 0;
    out[name_at + length + 1] = version;
}

SearchReply search_reply_of(const Mac& mac, Bytes rest)
{
    SearchReply reply{mac, take_ipv4(rest, offset::search_ip), {}, 0, {}};
    if (const std::optional<std::size_t> length = described_name(rest)) {
        const auto name = ByteView(rest).subspan(name_at, *length);
        reply.name.assign(name.begin(), name.end());
        reply.version = rest[name_at + *length + 1];
        std::fill_n(rest.begin() + offset::data_length, 1, std::uint8_t{0});
        std::fill_n(rest.begin() + name_at, *length + 2, std::uint8_t{0});
    }
    put_bytes(rest, offset::search_ip, Ipv4{});
    reply.other.bytes = std::move(rest);
    return reply;
}

struct Head
{
    Code code;
    Mac mac;
    Bytes rest; // the whole datagram, the letters, code and MAC zero
};

std::optional<Head> head_of(ByteView datagram)
{
    if (datagram.size() < datagram_length) return std::nullopt;
    if (!std::equal(flag_letters_checked.begin(), flag_letters_checked.end(), datagram.begin()))
        return std::nullopt;
    Head h{static_cast<Code>(datagram[offset::code]), take_mac(datagram, offset::mac),
           Bytes(datagram.begin(), datagram.end())};
    std::fill_n(h.rest.begin(), flag_letters_checked.size(), std::uint8_t{0});
    h.rest[offset::code] = 0;
    put_bytes(h.rest, offset::mac, Mac{});
    return h;
}

// One overload per message kind, so a new kind cannot go without its bytes.
struct Encoder
{
    Bytes operator()(const SearchRequest& m) const
    {
        return head(Code::search_request, m.mac, m.other);
    }
    Bytes operator()(const ReadRequest& m) const
    {
        return head(Code::read_request, m.mac, m.other);
    }
    Bytes operator()(const WriteRequest& m) const
    {
        Bytes out = head(Code::write_request, m.mac, m.block.other);
        put_block_fields(out, m.block);
        return out;
    }
    Bytes operator()(const ResetRequest& m) const
    {
        return head(Code::reset_request, m.mac, m.other);
    }
    Bytes operator()(const SearchReply& m) const
    {
        Bytes out = head(Code::search_reply, m.mac, m.other);
        put_search_fields(out, m.ip, m.name, m.version);
        return out;
    }
    Bytes operator()(const ConfigReply& m) const
    {
        Bytes out = head(Code::config_reply, m.mac, m.block.other);
        put_block_fields(out, m.block);
        return out;
    }
    Bytes operator()(const WriteAck& m) const { return head(Code::write_ack, m.mac, m.other); }
    Bytes operator()(const WriteRefused& m) const
    {
        return head(Code::write_refused, m.mac, m.other);
    }
    Bytes operator()(const ResetAck& m) const { return head(Code::reset_ack, m.mac, m.other); }
};

} // namespace

Bytes encode(const Request& request)
{
    return std::visit(Encoder{}, request);
}

Bytes encode(const Reply& reply)
{
    return std::visit(Encoder{}, reply);
}

std::optional<Request> decode_request(ByteView datagram)
{
    std::optional<Head> h = head_of(datagram);
    if (!h) return std::nullopt;
    switch (h->code) {
    case Code::search_request:
        return SearchRequest{h->mac, {std::move(h->rest)}};
    case Code::read_request:
        return ReadRequest{h->mac, {std::move(h->rest)}};
    case Code::write_request:
        return WriteRequest{h->mac, take_block(std::move(h->rest))};
    case Code::reset_request:
        return ResetRequest{h->mac, {std::move(h->rest)}};
    default:
        return std::nullopt;
    }
}

std::optional<Reply> decode_reply(ByteView datagram)
{
    std::optional<Head> h = head_of(datagram);
    if (!h) return std::nullopt;
    switch (h->code) {
    case Code::search_reply:
        return search_reply_of(h->mac, std::move(h->rest));
    case Code::config_reply:
        return ConfigReply{h->mac, take_block(std::move(h->rest))};
    case Code::write_ack:
        return WriteAck{h->mac, {std::move(h->rest)}};
    case Code::write_refused:
        return WriteRefused{h->mac, {std::move(h->rest)}};
    case Code::reset_ack:
        return ResetAck{h->mac, {std::move(h->rest)}};
    default:
        return std::nullopt;
    }
}

Mac mac_of(const Request& request)
{
    return std::visit([](const auto& m) { return m.mac; }, request);
}

Mac mac_of(const Reply& reply)
{
    return std::visit([](const auto& m) { return m.mac; }, reply);
}

WriteRequest write_request(const ConfigReply& held, const NetworkParameters& parameters)
{
    return WriteRequest{held.mac, ParameterBlock{parameters, written_serial, held.block.other}};
}

ConfigReply at_datagram_length(ConfigReply reply)
{
    Bytes& bytes = reply.block.other.bytes;
    if (bytes.size() > datagram_length) bytes.resize(datagram_length);
    return reply;
}

std::string version_text(std::uint8_t version)
{
    return std::to_string(version >> 4) + "." + std::to_string(version & 0x0F);
}

} // namespace zk::discovery
