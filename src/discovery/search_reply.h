#pragma once
// A search reply as a value. Only the MAC (17-22) and the address (30-33) are promised by every
// controller; the module's name and version are read only where the data length byte at 29
// describes them (the address, a zero-terminated name of 1 to 20 bytes, then the version byte),
// because other controllers put other things after the address.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/bytes.h"
#include "discovery/config_datagram.h"

namespace zk::discovery {

using Mac = std::array<std::uint8_t, mac_width>;

struct SearchReply
{
    Mac mac{};
    Ipv4 ip{};
    std::string name;    // the module's bytes as they came: may be any bytes but zero
    std::string version; // "2.6" (hardware.software); empty when there is no name
    bool operator==(const SearchReply&) const = default;
};

// A MAC as typed (the reading of base/values.h) in the datagram's fixed six bytes.
std::optional<Mac> parse_module_mac(std::string_view text);

// The search reply a datagram carries; nullopt unless it is one (code 84, at least 285 bytes).
std::optional<SearchReply> decode_search_reply(ByteView datagram);

} // namespace zk::discovery
