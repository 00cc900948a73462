#include "discovery/refusals.h"

#include <algorithm>

#include "discovery/layout.h"

namespace zk::discovery {

namespace {

void add(std::vector<RefusalReason>& reasons, Refusal kind, std::string text)
{
    reasons.push_back({kind, std::move(text)});
}

std::uint32_t number(const Ipv4& address)
{
    return read_be32(address, 0);
}

// The address part, each finding on its own: the operator mends them all in one go. An isolated
// segment has no gateway, which modules take as 0.0.0.0.
void address_reasons(const NetworkParameters& p, std::vector<RefusalReason>& reasons)
{
    const std::uint32_t ip = number(p.ip);
    const std::uint32_t mask = number(p.mask);
    const std::uint32_t gateway = number(p.gateway);
    const std::uint32_t host_bits = ~mask;
    const bool contiguous = (host_bits & (host_bits + 1)) == 0;
    if (ip == 0) add(reasons, Refusal::address_zero, "IP address 0.0.0.0");
    // A /31 or /32 has no broadcast address of its own.
    const bool has_broadcast = contiguous && host_bits >= 3;
    if (ip == 0xFFFFFFFFu || (has_broadcast && (ip | host_bits) == ip))
        add(reasons, Refusal::broadcast_address, "IP address is a broadcast address");
    if (!contiguous) add(reasons, Refusal::mask_not_contiguous, "subnet mask not contiguous");
    if (gateway == 0) return;
    if ((gateway & mask) != (ip & mask))
        add(reasons, Refusal::gateway_outside_subnet, "gateway outside the subnet");
    else if (gateway == ip)
        add(reasons, Refusal::gateway_is_address, "gateway equals the IP address");
}

} // namespace

std::vector<RefusalReason> refusal_reasons(const ParameterBlock& block)
{
    std::vector<RefusalReason> reasons;
    address_reasons(block.network, reasons);
    // A block of our own making has no bytes of the module's: they go out as zeros.
    Bytes other = block.other.bytes;
    other.resize(std::max(other.size(), datagram_length), 0);
    if (const std::uint8_t dhcp = other[offset::dhcp]; dhcp > 1)
        add(reasons, Refusal::dhcp_flag, "DHCP flag " + std::to_string(dhcp));
    const auto name = ByteView(other).subspan(offset::name, name_room);
    if (std::find(name.begin(), name.end(), std::uint8_t{0}) == name.end())
        add(reasons, Refusal::name_unterminated, "module name without its terminating zero");
    // With a random local port the module never uses the one in the block.
    if (block.serial.random_local_port == 0 && block.serial.local_port == 0)
        add(reasons, Refusal::local_port_zero, "local port 0");
    if (block.network.port == 0) add(reasons, Refusal::server_port_zero, "server port 0");
    return reasons;
}

std::vector<RefusalReason> parameter_refusals(const NetworkParameters& p)
{
    std::vector<RefusalReason> reasons;
    address_reasons(p, reasons);
    if (number(p.mask) == 0) add(reasons, Refusal::mask_zero, "subnet mask 0.0.0.0");
    if (p.ip[0] >= 224 && number(p.ip) != 0xFFFFFFFFu)
        add(reasons, Refusal::address_multicast,
            "IP address above 223.255.255.255 (multicast or reserved)");
    if (number(p.server_ip) == 0) add(reasons, Refusal::server_zero, "server IP address 0.0.0.0");
    if (p.port == 0) add(reasons, Refusal::server_port_zero, "server port 0");
    return reasons;
}

std::string refusal_text(const std::vector<RefusalReason>& reasons)
{
    std::string text;
    for (const RefusalReason& reason : reasons)
        text += (text.empty() ? "" : ", ") + reason.text;
    return text;
}

} // namespace zk::discovery
