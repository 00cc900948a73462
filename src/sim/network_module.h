#pragma once
// The controller's network module as a pure model: a configuration datagram in, the datagrams
// it answers with out. One model holds one or many modules, each with its own MAC and address.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "discovery/config_datagram.h"
#include "runtime/bytes.h"

namespace zk::sim {

using Mac = std::array<std::uint8_t, 6>;
using discovery::Ipv4;

// Everything a module keeps; the field order follows its configuration block.
struct ModuleSettings
{
    Mac mac{};
    std::uint8_t device_type = 0x21;
    std::uint8_t device_subtype = 0x21;
    std::uint8_t device_index = 0;
    std::uint8_t hardware_version = 0x02;
    std::uint8_t software_version = 0x06;
    std::string name = "ZK-NET"; // at most 20 bytes are kept, zero-terminated
    Ipv4 ip{192, 168, 1, 200};
    Ipv4 gateway{192, 168, 1, 1};
    Ipv4 mask{255, 255, 255, 0};
    std::uint8_t dhcp = 0;
    std::uint16_t web_port = 80;
    std::uint8_t port_enabled = 1;
    std::uint8_t mode = 0; // 0 TCP server, 1 TCP client, 2 UDP server, 3 UDP client
    std::uint8_t random_local_port = 0;
    std::uint16_t local_port = 16006;
    Ipv4 destination_ip{192, 168, 1, 100};
    std::uint16_t destination_port = 16006;
    std::uint32_t baud = 9600;
    std::uint8_t data_bits = 8;
    std::uint8_t stop_bits = 1;
    std::uint8_t parity = 4;
    std::array<std::uint8_t, 9> serial_rest{};

    bool operator==(const ModuleSettings&) const = default;
};

// What one request made the model do.
struct ModelAnswer
{
    std::vector<Bytes> replies;
    bool changed = false; // a write stored new settings
};

struct NetworkModel
{
    std::vector<ModuleSettings> modules;
    // Refuse (code C1, nothing stored) a write whose address, mask or port no module would take.
    bool strict_writes = false;

    // Search: one reply per module. Read and write: only the module with the request's MAC
    // answers. Anything short, unflagged or unknown gets no answer.
    ModelAnswer handle(ByteView request);
};

// The module whose IP is `local_address` (where a command was sent), else the first; nullptr
// when there is none.
const ModuleSettings* module_at(const NetworkModel& model, std::string_view local_address);

// `count` modules whose MACs and addresses count up from the bases (last byte first).
NetworkModel make_network_model(int count, const Mac& mac_base, const Ipv4& ip_base);

// 84 reply: MAC, address at 30-33, then the name zero-terminated and the version byte.
Bytes search_reply(const ModuleSettings& module);
// 82 or 81 datagram carrying the module's whole block.
Bytes module_block(const ModuleSettings& module, discovery::ConfigCode code);

// "84:C2:E4:00:00:01" (any case, single digits allowed) to bytes; nullopt otherwise.
std::optional<Mac> parse_mac(std::string_view text);
// Upper-case two-digit form.
std::string mac_text(const Mac& mac);

void to_json(nlohmann::json& json, const ModuleSettings& module);
// Missing members keep their defaults; a malformed one throws nlohmann::json::exception.
void from_json(const nlohmann::json& json, ModuleSettings& module);
void to_json(nlohmann::json& json, const NetworkModel& model);
void from_json(const nlohmann::json& json, NetworkModel& model);

} // namespace zk::sim
