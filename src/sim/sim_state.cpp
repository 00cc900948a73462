#include "sim/sim_state.h"

#include <filesystem>
#include <fstream>

namespace zk::sim {

namespace {

using nlohmann::json;

// The whole object at once, which is what nearly every file needs; only when that fails, key by
// key, so that the message can name the one that is wrong.
std::variant<ModuleSettings, std::string> module_from_json(const json& in)
{
    ModuleSettings module;
    try {
        from_json(in, module);
        return module;
    } catch (const json::exception&) {
    }
    module = ModuleSettings{};
    for (const auto& [key, value] : in.items()) {
        try {
            from_json(json{{key, value}}, module);
        } catch (const json::exception&) {
            return "\"" + key + "\" is not valid (" + value.dump() + ")";
        }
    }
    return std::string("not valid"); // a key that fails within the object fails alone too
}

std::variant<NetworkModel, std::string> network_from_json(const json& in)
{
    if (!in.is_object() || !in.contains("modules") || !in.at("modules").is_array())
        return std::string("state: \"network\" must be an object with a list \"modules\"");
    NetworkModel model;
    const json& modules = in.at("modules");
    for (std::size_t i = 0; i < modules.size(); ++i) {
        const std::string where = "state: network module " + std::to_string(i + 1);
        if (!modules[i].is_object()) return where + " is not a JSON object";
        auto module = module_from_json(modules[i]);
        if (auto* error = std::get_if<std::string>(&module)) return where + ": " + *error;
        model.modules.push_back(std::get<ModuleSettings>(std::move(module)));
    }
    return model;
}

} // namespace

json sim_state_to_json(const ControllerState& controller, const NetworkModel& network)
{
    return {{"controller", state_to_json(controller)}, {"network", network}};
}

std::variant<SimState, std::string> sim_state_from_json(const json& in)
{
    if (!in.is_object()) return std::string("state: not a JSON object");
    for (const auto& [key, value] : in.items()) {
        if (key != "controller" && key != "network")
            return "state: unknown key \"" + key + "\" (expected \"controller\" and \"network\")";
    }
    SimState state;
    if (in.contains("controller")) {
        if (!in.at("controller").is_object())
            return std::string("state: \"controller\" must be a JSON object");
        auto controller = state_from_json(in.at("controller"));
        if (auto* error = std::get_if<std::string>(&controller)) return std::move(*error);
        state.controller = std::get<ControllerState>(std::move(controller));
    }
    if (in.contains("network")) {
        auto network = network_from_json(in.at("network"));
        if (auto* error = std::get_if<std::string>(&network)) return std::move(*error);
        state.network = std::get<NetworkModel>(std::move(network));
    }
    return state;
}

std::variant<SimState, std::string> load_sim_state(const std::string& path)
{
    std::ifstream file(path);
    if (!file) {
        if (!std::filesystem::exists(path)) return SimState{};
        return "cannot read the state file " + path;
    }
    const json parsed = json::parse(file, nullptr, false);
    if (parsed.is_discarded()) return "the state file " + path + " is not valid JSON";
    auto state = sim_state_from_json(parsed);
    if (auto* error = std::get_if<std::string>(&state)) return path + ": " + *error;
    return state;
}

std::string save_sim_state(const std::string& path,
                           const ControllerState& controller,
                           const NetworkModel& network)
{
    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::trunc);
        file << sim_state_to_json(controller, network).dump(2) << '\n';
        // Closing flushes; a disk that fills up only shows then.
        file.close();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return "cannot write " + temporary;
        }
    }
    std::error_code failed;
    std::filesystem::rename(temporary, path, failed);
    if (failed) return "cannot replace " + path + ": " + failed.message();
    return {};
}

} // namespace zk::sim
