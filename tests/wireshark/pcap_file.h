#pragma once
// A classic pcap file of UDP datagrams, so a capture tool can read frames the tests choose.
#include <array>
#include <cstdint>
#include <vector>

#include "base/bytes.h"

namespace zk::test {

struct UdpPacket
{
    std::array<std::uint8_t, 4> from{};
    std::uint16_t from_port = 0;
    std::array<std::uint8_t, 4> to{};
    std::uint16_t to_port = 0;
    Bytes payload;
};

// The whole file: pcap header (link type "raw IPv4"), then one record per packet, an IPv4
// header and a UDP header in front of each payload, a second apart.
Bytes pcap_file(const std::vector<UdpPacket>& packets);

} // namespace zk::test
