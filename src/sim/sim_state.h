#pragma once
// The simulator's state file: every simulated controller in one JSON object,
// {"network": {"modules": [{..., "controller": {...}}, ...]}}, each module with the command state
// of its controller, so whatever the tool wrote through either face survives a restart. Files of
// one controller, {"controller": {...}, "network": ...}, still load: theirs is the first.
#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <variant>

#include <nlohmann/json.hpp>

#include "sim/controller_state.h"
#include "sim/network_module.h"
#include "sim/options.h"

namespace zk::sim {

// Command states by the position of the controller's module. A position without an entry holds
// the defaults, so controllers nobody wrote to cost neither memory nor room in the file.
using ControllerStates = std::map<std::size_t, ControllerState>;

struct SimState
{
    ControllerStates controllers;
    std::optional<NetworkModel> network; // absent from the file: made from the options
};

// Both faces as the state file's text, module by module, so that saving 100,000 controllers never
// holds the whole document in memory; a controller still at its defaults is left out.
void write_sim_state(std::ostream& out,
                     const ControllerStates& controllers,
                     const NetworkModel& network);

// Missing parts and keys keep their defaults; an unknown key or a bad value gives a message
// naming its path.
std::variant<SimState, std::string> sim_state_from_json(const nlohmann::json& json);

// Reads the state file; a file that does not exist yet gives the defaults.
std::variant<SimState, std::string> load_sim_state(const std::string& path);

// Replaces the state file as a whole (written beside it, then renamed, so a crash never leaves
// half a file); a symbolic link keeps pointing at the file it names, which is the one replaced.
// An error message naming `path` and the system's reason, or "".
std::string save_sim_state(const std::string& path,
                           const ControllerStates& controllers,
                           const NetworkModel& network);

// The modules the options make, or the state file's when it has them; either way a reset brings a
// module back to what the options make for its place (keeping its own MAC).
NetworkModel starting_network(const NetworkFaceOptions& options,
                              std::optional<NetworkModel> loaded);

} // namespace zk::sim
