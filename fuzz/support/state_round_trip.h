#pragma once
// After a request changed a simulated controller, zksim rewrites its state file; what it wrote
// must read back as the same state, or a restart loses what the tool wrote.
#include <string>
#include <variant>

#include "sim/sim_state.h"

namespace zk::fuzz {

// The state written as the state file's text (without its indentation, which reading skips)
// and read back again; false when reading fails or gives another state. Writing must not throw
// for any state the requests can produce.
inline bool state_survives_restart(const sim::ControllerState& controller,
                                   const sim::NetworkModel& network)
{
    const std::string text = sim::sim_state_to_json(controller, network).dump();
    const auto parsed = nlohmann::json::parse(text, nullptr, false);
    if (parsed.is_discarded()) return false;
    const auto loaded = sim::sim_state_from_json(parsed);
    const auto* state = std::get_if<sim::SimState>(&loaded);
    return state && state->controller == controller && state->network &&
           state->network->modules == network.modules;
}

} // namespace zk::fuzz
