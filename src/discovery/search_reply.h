#pragma once
// Controllers as the find window's list and zkctl show them.
#include <optional>
#include <string>
#include <string_view>

#include "discovery/message.h"

namespace zk::discovery {

// A MAC as typed (the reading of base/values.h) in the datagram's fixed six bytes.
std::optional<Mac> parse_module_mac(std::string_view text);

// The first six bytes of a MAC held as a byte string, zeros where it is shorter.
Mac mac_from(ByteView bytes);

// "MAC:84:C2:E4:1:A:FF", the MAC as its line shows it.
std::string mac_entry(const Mac& mac);

// "MAC:84:C2:E4:1:A:FF IP:192.168.1.200": a search reply's line, or a controller's after a write.
std::string list_entry(const Mac& mac, const Ipv4& ip);

} // namespace zk::discovery
