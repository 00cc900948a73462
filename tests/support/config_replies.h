#pragma once
// Configuration datagrams as network modules send them, built from the hex of their fields.
#include <string>
#include <string_view>

#include "base/bytes.h"

namespace zk::test {

// The 16 bytes every configuration datagram begins with ("CH9121_CFG_FLAG" and a zero) in hex, and
// a space for the code byte that follows.
inline const std::string flag_hex = "43 48 39 31 32 31 5F 43 46 47 5F 46 4C 41 47 00 ";

// Writes the bytes of `hex` into `data` from offset `at`.
void put(Bytes& data, std::size_t at, std::string_view hex);

// A datagram of `length` bytes with the flag, the code `code` (hex) and `mac`; the rest zero.
Bytes flagged(std::string_view code, const Bytes& mac, std::size_t length = 285);

// A search reply from `mac` whose address is `ip` (hex).
Bytes search_reply_of(const Bytes& mac, std::string_view ip);

// A configuration reply whose unnamed bytes all differ, so carried-over bytes can be told apart;
// its name is terminated and its DHCP flag clear, as a module keeps them. Address
// 192.168.1.200, gateway 192.168.1.1, mask 255.255.255.0, server 192.168.1.100:34366.
Bytes config_reply_of(const Bytes& mac, std::size_t length = 285);

} // namespace zk::test
