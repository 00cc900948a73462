#pragma once
// What a search found, one row per MAC: the address it announced, the module's name and
// version when its reply carries them, and the parameters its configuration block holds.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "base/bytes.h"
#include "discovery/message.h"

namespace zk::cli {

struct FoundController
{
    Bytes mac;
    discovery::Ipv4 ip{};
    std::string module_name;    // empty when the reply does not carry one
    std::string module_version; // "2.6" (hardware.software); empty likewise
    std::optional<discovery::NetworkParameters> parameters; // none: the block was not read
    bool shares_ip = false; // another MAC announced the same address
    // Further addresses this MAC announced: two devices share it, and a write reaches both.
    std::vector<discovery::Ipv4> other_ips;
};

// One row per MAC, in the order of first answer; a MAC answering twice is one row, which keeps
// every further address it announced.
std::vector<FoundController> found_from(const std::vector<discovery::SearchReply>& replies);

// "84:C2:E4:00:00:01 answers from two addresses (10.0.0.5, 10.0.0.6)"; "" for a MAC of one.
std::string shared_mac_text(const FoundController& row);

// Adds each row's parameters from the blocks read, and marks rows whose IP another MAC uses.
void complete(std::vector<FoundController>& rows,
              const std::map<Bytes, discovery::ConfigReply>& blocks);

nlohmann::ordered_json to_json(const FoundController& row);
// {"ip": ..., "mask": ..., "gateway": ..., "server": ..., "port": 16006}
nlohmann::ordered_json parameters_json(const discovery::NetworkParameters& p);
// Header and one line per row:
// mac,ip,mask,gateway,server,port,name,version,duplicate_ip,duplicate_mac.
std::string to_csv(const std::vector<FoundController>& rows);
// The columns above, aligned, for a person; "-" for what is unknown.
std::string to_table(const std::vector<FoundController>& rows);

} // namespace zk::cli
