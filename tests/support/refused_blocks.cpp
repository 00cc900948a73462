#include "support/refused_blocks.h"

#include <algorithm>

#include "support/hex.h"

namespace zk::test {

namespace {

using enum discovery::Refusal;

std::string run(std::size_t count, const char* pair)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += pair;
    return text;
}

} // namespace

Bytes sound_write()
{
    Bytes data =
        from_hex("43 48 39 31 32 31 5F 43 46 47 5F 46 4C 41 47 00 01 84 C2 E4 00 00 01 "
                 "00 E0 4C 12 34 56 CC 21 21 00 02 06 5A 4B 2D 4E 45 54" +
                 run(15, " 00") + " 84 C2 E4 00 00 01 C0 A8 01 32 C0 A8 01 01 FF FF FF 00 00" +
                 run(94, " FF") + " 01 01 03 00 86 3E C0 A8 01 64 86 3E");
    data.resize(discovery::datagram_length, 0);
    return data;
}

Bytes patched(const BlockCase& c)
{
    Bytes data = sound_write();
    for (const auto& [at, hex] : c.patches) {
        const Bytes bytes = from_hex(hex);
        std::copy(bytes.begin(), bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(at));
    }
    return data;
}

discovery::ParameterBlock written_block(ByteView write)
{
    return std::get<discovery::WriteRequest>(discovery::decode_request(write).value()).block;
}

discovery::ConfigReply config_reply_in(ByteView datagram)
{
    return std::get<discovery::ConfigReply>(discovery::decode_reply(datagram).value());
}

std::vector<discovery::SearchReply> search_replies_in(const std::vector<Bytes>& datagrams)
{
    std::vector<discovery::SearchReply> replies;
    for (const Bytes& datagram : datagrams)
        if (const auto reply = discovery::decode_reply(datagram))
            if (const auto* found = std::get_if<discovery::SearchReply>(&*reply))
                replies.push_back(*found);
    return replies;
}

const std::vector<BlockCase>& block_cases()
{
    static const std::vector<BlockCase> cases = {
        {"sound", {}, {}},
        {"address 0.0.0.0 with mask 0.0.0.0",
         {{62, "00 00 00 00"}, {70, "00 00 00 00"}},
         {address_zero}},
        {"subnet broadcast", {{62, "C0 A8 01 FF"}}, {broadcast_address}},
        {"mask with a hole", {{70, "FF 00 FF 00"}}, {mask_not_contiguous}},
        {"gateway in another subnet", {{66, "C0 A8 02 01"}}, {gateway_outside_subnet}},
        {"gateway equal to the address", {{66, "C0 A8 01 32"}}, {gateway_is_address}},
        {"no gateway", {{66, "00 00 00 00"}}, {}},
        {"DHCP flag 2", {{74, "02"}}, {dhcp_flag}},
        {"name without its zero", {{35, run(21, "41 ")}}, {name_unterminated}},
        {"local port 0", {{173, "00 00"}}, {local_port_zero}},
        {"server port 0", {{179, "00 00"}}, {server_port_zero}},
        {"local port 0 with a random local port", {{172, "01 00 00"}}, {}},
        {"random local port and server port 0",
         {{172, "01 00 00"}, {179, "00 00"}},
         {server_port_zero}},
        {"/30 last address", {{70, "FF FF FF FC"}, {62, "C0 A8 01 03"}}, {broadcast_address}},
        {"/30 host", {{70, "FF FF FF FC"}, {62, "C0 A8 01 02"}}, {}},
        {"/31 upper address", {{70, "FF FF FF FE"}, {62, "C0 A8 01 01"}, {66, "C0 A8 01 00"}}, {}},
        {"/32 gateway is the address",
         {{70, "FF FF FF FF"}, {66, "C0 A8 01 32"}},
         {gateway_is_address}},
        {"DHCP flag and both ports",
         {{74, "07"}, {173, "00 00"}, {179, "00 00"}},
         {dhcp_flag, local_port_zero, server_port_zero}},
    };
    return cases;
}

} // namespace zk::test
