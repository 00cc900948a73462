#include "discovery/search_reply.h"

#include <algorithm>

#include "base/values.h"

namespace zk::discovery {

namespace {

constexpr std::size_t address_width = 4;
constexpr std::size_t name_at = offset::search_ip + address_width;
constexpr std::size_t longest_name = name_room - 1;

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

} // namespace

std::optional<SearchReply> decode_search_reply(ByteView datagram)
{
    if (accepted_code(datagram) != static_cast<std::uint8_t>(ConfigCode::search_reply))
        return std::nullopt;
    SearchReply reply;
    std::copy_n(datagram.begin() + offset::mac, mac_width, reply.mac.begin());
    std::copy_n(datagram.begin() + offset::search_ip, address_width, reply.ip.begin());
    if (const std::optional<std::size_t> length = described_name(datagram)) {
        const auto name = datagram.subspan(name_at, *length);
        reply.name.assign(name.begin(), name.end());
        const std::uint8_t version = datagram[name_at + *length + 1];
        reply.version = std::to_string(version >> 4) + "." + std::to_string(version & 0x0F);
    }
    return reply;
}

std::optional<Mac> parse_module_mac(std::string_view text)
{
    const std::optional<Bytes> bytes = parse_mac(text);
    if (!bytes) return std::nullopt;
    Mac mac{};
    std::copy(bytes->begin(), bytes->end(), mac.begin());
    return mac;
}

} // namespace zk::discovery
