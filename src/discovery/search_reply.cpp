#include "discovery/search_reply.h"

#include <algorithm>

#include "base/ipv4_text.h"
#include "base/text.h"
#include "base/values.h"

namespace zk::discovery {

std::optional<Mac> parse_module_mac(std::string_view text)
{
    const std::optional<Bytes> bytes = parse_mac(text);
    if (!bytes) return std::nullopt;
    Mac mac{};
    std::copy(bytes->begin(), bytes->end(), mac.begin());
    return mac;
}

Mac mac_from(ByteView bytes)
{
    Mac mac{};
    std::copy_n(bytes.begin(), std::min(mac.size(), bytes.size()), mac.begin());
    return mac;
}

std::string mac_entry(const Mac& mac)
{
    std::string text = "MAC:";
    for (std::size_t i = 0; i < mac.size(); ++i) {
        if (i > 0) text += ':';
        text += to_hex_text(mac[i]);
    }
    return text;
}

std::string list_entry(const Mac& mac, const Ipv4& ip)
{
    return mac_entry(mac) + " IP:" + ipv4_text(ip);
}

} // namespace zk::discovery
