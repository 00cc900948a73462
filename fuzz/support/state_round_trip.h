#pragma once
// After a request changed a simulated controller, zksim rewrites its state file; what it wrote
// must read back as the same state, or a restart loses what the tool wrote.
#include <sstream>
#include <string>
#include <variant>

#include "sim/sim_state.h"

namespace zk::fuzz {

// The state written as the state file's text, as the first controller of `network` (which has
// one module at least), and read back again; false when reading fails or gives another state.
// Writing must not throw for any state the requests can produce.
inline bool state_survives_restart(const sim::ControllerState& controller,
                                   const sim::NetworkModel& network)
{
    std::ostringstream text;
    sim::write_sim_state(text, {{0, controller}}, network);
    const auto parsed = nlohmann::json::parse(text.str(), nullptr, false);
    if (parsed.is_discarded()) return false;
    const auto loaded = sim::sim_state_from_json(parsed);
    const auto* state = std::get_if<sim::SimState>(&loaded);
    if (!state || !state->network || state->network->modules != network.modules) return false;
    const auto first = state->controllers.find(0);
    const sim::ControllerState& read =
        first == state->controllers.end() ? sim::ControllerState{} : first->second;
    return read == controller;
}

} // namespace zk::fuzz
