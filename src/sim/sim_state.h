#pragma once
// The simulator's state file: both faces in one JSON object,
// {"controller": {...}, "network": {"modules": [...]}}, so whatever the tool wrote through either
// face survives a restart.
#include <optional>
#include <string>
#include <variant>

#include <nlohmann/json.hpp>

#include "sim/controller_state.h"
#include "sim/network_module.h"

namespace zk::sim {

struct SimState
{
    ControllerState controller;
    std::optional<NetworkModel> network; // absent from the file: made from the options
};

// Both faces as one JSON object.
nlohmann::json sim_state_to_json(const ControllerState& controller, const NetworkModel& network);

// Missing parts and keys keep their defaults; a bad value gives a message naming its key.
std::variant<SimState, std::string> sim_state_from_json(const nlohmann::json& json);

// Reads the state file; a file that does not exist yet gives the defaults.
std::variant<SimState, std::string> load_sim_state(const std::string& path);

// Replaces the state file as a whole (written beside it, then renamed, so a crash never leaves
// half a file); an error message or "".
std::string save_sim_state(const std::string& path,
                           const ControllerState& controller,
                           const NetworkModel& network);

} // namespace zk::sim
