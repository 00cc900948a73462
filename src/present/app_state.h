#pragma once
// What the two windows share for the whole run of the program.
#include <optional>
#include <string>
#include <vector>

#include "discovery/message.h"

namespace zk {

struct AppState
{
    // Where the settings window sends its frames; set when the operator confirms an address.
    std::string controller_address;
    // The controller picked in the find window's list; all zero before any.
    discovery::Mac selected_mac{};
    // The last configuration reply accepted for the selected MAC, every byte of it.
    std::optional<discovery::ConfigReply> held_reply;
    // MAC of each entry of the find window's list, in the same order.
    std::vector<discovery::Mac> found_macs;
    // The address each entry shows, in the same order: a write must not take another's.
    std::vector<discovery::Ipv4> found_ips;
    // The MAC and address of the last write sent: its acknowledgement need not repeat them.
    std::optional<discovery::Mac> written_mac;
    discovery::Ipv4 written_ip{};
};

} // namespace zk
