#include "sim/sim_state.h"

#include <fstream>

#include "base/file_read.h"
#include "base/file_write.h"

namespace zk::sim {

namespace fs = std::filesystem;

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

// One module of the list and the command state of its controller, when the entry has one.
std::string read_module(const json& in, std::size_t index, SimState& state)
{
    const std::string where = "state: network module " + std::to_string(index + 1);
    if (!in.is_object()) return where + " is not a JSON object";
    const std::string path = "network.modules[" + std::to_string(index) + "]";
    json settings = in;
    settings.erase("controller");
    if (std::string error = unknown_module_key(settings, path); !error.empty()) return error;
    auto module = module_from_json(settings);
    if (auto* error = std::get_if<std::string>(&module)) return where + ": " + *error;
    state.network->modules.push_back(std::get<ModuleSettings>(std::move(module)));
    if (!in.contains("controller")) return {};
    if (!in.at("controller").is_object())
        return "state: \"" + path + ".controller\" must be a JSON object";
    auto controller = state_from_json(in.at("controller"), path + ".controller");
    if (auto* error = std::get_if<std::string>(&controller)) return std::move(*error);
    const bool taken =
        !state.controllers.emplace(index, std::get<ControllerState>(std::move(controller))).second;
    if (taken) return "state: \"controller\" and \"" + path + ".controller\" both given";
    return {};
}

std::string read_network(const json& in, SimState& state)
{
    if (!in.is_object() || !in.contains("modules") || !in.at("modules").is_array())
        return "state: \"network\" must be an object with a list \"modules\"";
    if (std::string error = unknown_key(in, {"modules"}, "network"); !error.empty()) return error;
    const json& modules = in.at("modules");
    // Without a module there is no controller to answer anything.
    if (modules.empty()) return "state: \"network.modules\" is empty; it needs one module at least";
    state.network.emplace();
    for (std::size_t i = 0; i < modules.size(); ++i) {
        if (std::string error = read_module(modules[i], i, state); !error.empty()) return error;
    }
    return {};
}

// `text` with every line indented, to sit inside the document.
std::string indented(const std::string& text, const std::string& indent)
{
    std::string out = indent;
    out.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        out += c;
        if (c == '\n') out += indent;
    }
    return out;
}

} // namespace

void write_sim_state(std::ostream& out,
                     const ControllerStates& controllers,
                     const NetworkModel& network)
{
    out << "{\n  \"network\": {\n    \"modules\": [";
    for (std::size_t i = 0; i < network.modules.size(); ++i) {
        json module = network.modules[i];
        const auto found = controllers.find(i);
        if (found != controllers.end() && !(found->second == ControllerState{}))
            module["controller"] = state_to_json(found->second);
        out << (i == 0 ? "\n" : ",\n") << indented(module.dump(2), "      ");
    }
    out << (network.modules.empty() ? "]" : "\n    ]") << "\n  }\n}\n";
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
        state.controllers[0] = std::get<ControllerState>(std::move(controller));
    }
    if (in.contains("network")) {
        if (std::string error = read_network(in.at("network"), state); !error.empty()) return error;
    }
    return state;
}

std::variant<SimState, std::string> load_sim_state(const std::string& path)
{
    const FileRead read = read_regular_file(path);
    if (const auto* failure = std::get_if<ReadFailure>(&read)) {
        if (failure->missing) return SimState{};
        return "cannot read the state file " + describe(path, *failure);
    }
    const json parsed = json::parse(std::get<std::string>(read), nullptr, false);
    if (parsed.is_discarded()) return "the state file " + path + " is not valid JSON";
    auto state = sim_state_from_json(parsed);
    if (auto* error = std::get_if<std::string>(&state)) return path + ": " + *error;
    return state;
}

NetworkModel starting_network(const NetworkFaceOptions& options, std::optional<NetworkModel> loaded)
{
    const int count = loaded ? static_cast<int>(loaded->modules.size()) : options.count;
    NetworkModel model =
        make_network_model(count, options.mac_base, options.ip_base, options.factory);
    if (loaded) model.modules = std::move(loaded->modules);
    model.strict_writes = options.strict_writes;
    return model;
}

std::string save_sim_state(const std::string& path,
                           const ControllerStates& controllers,
                           const NetworkModel& network)
{
    const std::string reason =
        replace_file(path, [&](std::ostream& out) { write_sim_state(out, controllers, network); });
    return reason.empty() ? reason : "cannot write the state file " + path + ": " + reason;
}

} // namespace zk::sim
