#pragma once
// The controller's network module as a pure model: a configuration datagram in, the datagrams
// it answers with out. One model holds one or many modules, each with its own MAC and address.
// Like the modules in the field, it answers only exactly 285 bytes carrying all 16 flag bytes,
// and every answer is 285 bytes too, echoing the PC's MAC (23-28) of the request.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "base/bytes.h"
#include "base/json_reading.h"
#include "discovery/message.h"
#include "sim/module_settings.h"

namespace zk::sim {

// What one request made the model do.
struct ModelAnswer
{
    std::vector<Bytes> replies;
    std::vector<std::size_t> senders; // index of the module that sends each reply
    bool changed = false;             // a write or a reset stored new settings
    std::string refusal;              // why a write was refused, for the log
};

struct NetworkModel
{
    std::vector<ModuleSettings> modules;
    // What a reset restores, by position; a module without an entry gets the built-in defaults.
    std::vector<ModuleSettings> factory;
    // Refuse unsound blocks with C1 instead of storing whatever a write carries.
    bool strict_writes = false;

    // Search with the all-zero MAC: one reply per module; a search naming a MAC, read, write and
    // reset: only the module with that MAC answers. Anything else gets no answer.
    ModelAnswer handle(ByteView request);

private:
    struct Answering;
    discovery::Reply answer_one(std::size_t index,
                                const discovery::Request& request,
                                ByteView datagram,
                                ModelAnswer& answer);
};

// What every module made from the options starts with, besides its MAC and address.
struct ModuleFactory
{
    std::string name = "ZK-NET";
    std::uint8_t hardware_version = 0x02;
    std::uint8_t software_version = 0x06;
    std::optional<Ipv4> gateway; // none: the first host of the first address's /24
};

// `count` modules whose MACs and addresses count up from the bases (last byte first), with the
// .100 host of the first address's /24 as their server; they are also what a reset restores.
NetworkModel make_network_model(int count,
                                const Mac& mac_base,
                                const Ipv4& ip_base,
                                const ModuleFactory& factory = {});

// The replies below answer `request`, a whole 285-byte request, whose PC MAC they echo.
// 84 reply: byte 29 counts the address at 30-33 and the zero-terminated name after it; the
// version byte follows the counted data.
Bytes search_reply(const ModuleSettings& module, ByteView request);
// 82 reply: byte 29 = CC and the module's whole parameter block at 30-233.
Bytes config_reply(const ModuleSettings& module, ByteView request);

void to_json(nlohmann::json& json, const ModuleSettings& module);
// Refuses a key that neither from_json nor the state file beside it reads, naming its path.
void refuse_unknown_module_key(const JsonAt& module);
// Missing members keep their defaults; a malformed one throws nlohmann::json::exception.
void from_json(const nlohmann::json& json, ModuleSettings& module);
void to_json(nlohmann::json& json, const NetworkModel& model);
void from_json(const nlohmann::json& json, NetworkModel& model);

} // namespace zk::sim

// The state file reads and writes a module through the two functions above: the settings live
// in discovery/, where nlohmann's own lookup would not find zksim's reading of them.
template <> struct nlohmann::adl_serializer<zk::discovery::ModuleSettings>
{
    static void to_json(json& out, const zk::discovery::ModuleSettings& module)
    {
        zk::sim::to_json(out, module);
    }
    static void from_json(const json& in, zk::discovery::ModuleSettings& module)
    {
        zk::sim::from_json(in, module);
    }
};
