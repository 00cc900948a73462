#include "wireshark/pcap_file.h"

namespace zk::test {

namespace {

constexpr std::uint32_t link_type_raw_ip = 101;

void append_le(Bytes& out, std::uint32_t v, int width)
{
    for (int i = 0; i < width; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// The one's-complement sum of the header's 16-bit words, so tools show no IP checksum fault.
std::uint16_t ip_checksum(ByteView header)
{
    std::uint32_t sum = 0;
    for (std::size_t at = 0; at + 1 < header.size(); at += 2)
        sum += read_be16(header, at);
    while (sum > 0xFFFF)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum);
}

Bytes ip_udp_packet(const UdpPacket& packet)
{
    const auto udp_length = static_cast<std::uint32_t>(8 + packet.payload.size());
    Bytes out;
    append_be(out, 0x4500, 2); // version 4, 20-byte header
    append_be(out, 20 + udp_length, 2);
    append_be(out, 0, 4);      // identification, no fragments
    append_be(out, 0x4011, 2); // TTL 64, UDP
    append_be(out, 0, 2);      // header checksum, filled in below
    out.insert(out.end(), packet.from.begin(), packet.from.end());
    out.insert(out.end(), packet.to.begin(), packet.to.end());
    const std::uint16_t checksum = ip_checksum(out);
    out[10] = static_cast<std::uint8_t>(checksum >> 8);
    out[11] = static_cast<std::uint8_t>(checksum);
    append_be(out, packet.from_port, 2);
    append_be(out, packet.to_port, 2);
    append_be(out, udp_length, 2);
    append_be(out, 0, 2); // no UDP checksum
    out.insert(out.end(), packet.payload.begin(), packet.payload.end());
    return out;
}

} // namespace

Bytes pcap_file(const std::vector<UdpPacket>& packets)
{
    Bytes out;
    append_le(out, 0xA1B2C3D4, 4); // microsecond time stamps, written little-endian
    append_le(out, 2, 2);
    append_le(out, 4, 2);
    append_le(out, 0, 4); // time zone
    append_le(out, 0, 4); // accuracy
    append_le(out, 65535, 4);
    append_le(out, link_type_raw_ip, 4);
    std::uint32_t second = 1;
    for (const UdpPacket& packet : packets) {
        const Bytes ip = ip_udp_packet(packet);
        append_le(out, second++, 4);
        append_le(out, 0, 4);
        append_le(out, static_cast<std::uint32_t>(ip.size()), 4);
        append_le(out, static_cast<std::uint32_t>(ip.size()), 4);
        out.insert(out.end(), ip.begin(), ip.end());
    }
    return out;
}

} // namespace zk::test
