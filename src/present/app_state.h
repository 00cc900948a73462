#pragma once
// What the two windows share for the whole run of the program.
#include <cstddef>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "discovery/parameter_block.h"

namespace zk {

inline constexpr std::size_t mac_length = discovery::mac_width;
inline constexpr std::size_t config_block_length = discovery::datagram_length;

struct AppState
{
    // Where the settings window sends its frames; set when the operator confirms an address.
    std::string controller_address;
    // The controller picked in the find window's list.
    Bytes selected_mac = Bytes(mac_length);
    // The last configuration reply accepted for the selected MAC, whole.
    Bytes held_block = Bytes(config_block_length);
    // MAC of each entry of the find window's list, in the same order.
    std::vector<Bytes> found_macs;
    // The address each entry shows, in the same order: a write must not take another's.
    std::vector<discovery::Ipv4> found_ips;
    // The MAC and address of the last write sent: its acknowledgement need not repeat them.
    Bytes written_mac;
    discovery::Ipv4 written_ip{};
};

} // namespace zk
