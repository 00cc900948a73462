#include "sim/sim_state.h"

#include <algorithm>
#include <fstream>

#include "base/file_read.h"
#include "base/file_write.h"

namespace zk::sim {

namespace fs = std::filesystem;

namespace {

// "not valid (VALUE)", the value shown only when it is short: a list or an object may be any
// size and depth.
std::string shown_short(const nlohmann::json& value)
{
    const auto single = [](const nlohmann::json& item) { return !item.is_structured(); };
    const bool short_list =
        value.is_array() && value.size() <= 16 && std::all_of(value.begin(), value.end(), single);
    if (!single(value) && !short_list) return "not valid";
    return "not valid (" + value.dump() + ")";
}

// The whole object at once, which is what nearly every file needs; only when that fails, key by
// key, so that the refusal can name the one that is wrong.
ModuleSettings module_from_json(const JsonAt& in)
{
    ModuleSettings module;
    try {
        from_json(in.value(), module);
        return module;
    } catch (const nlohmann::json::exception&) {
    }
    module = ModuleSettings{};
    for (const auto& [key, value] : in.value().items()) {
        try {
            from_json(nlohmann::json{{key, value}}, module);
        } catch (const nlohmann::json::exception&) {
            in[key].refuse(shown_short(value));
        }
    }
    in.refuse("not valid"); // a key that fails within the object fails alone too
}

// One module of the list and the command state of its controller, when the entry has one.
void read_module(const JsonAt& in, std::size_t index, SimState& state)
{
    refuse_unknown_module_key(in.object());
    state.network->modules.push_back(module_from_json(in));
    if (!in.has("controller")) return;
    const JsonAt controller = in["controller"].object();
    if (!state.controllers.emplace(index, controller_state_from(controller)).second)
        controller.refuse("given as \"controller\" too");
}

void read_network(const JsonAt& in, SimState& state)
{
    in.only_keys({"modules"});
    const std::vector<JsonAt> modules = in["modules"].list();
    // Without a module there is no controller to answer anything.
    if (modules.empty()) in["modules"].refuse("empty; it needs one module at least");
    state.network.emplace();
    for (std::size_t i = 0; i < modules.size(); ++i)
        read_module(modules[i], i, state);
}

SimState read_sim_state(const JsonAt& in)
{
    in.only_keys({"controller", "network"});
    SimState state;
    if (in.has("controller"))
        state.controllers[0] = controller_state_from(in["controller"].object());
    if (in.has("network")) read_network(in["network"], state);
    return state;
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
        nlohmann::json module = network.modules[i];
        const auto found = controllers.find(i);
        if (found != controllers.end() && !(found->second == ControllerState{}))
            module["controller"] = state_to_json(found->second);
        out << (i == 0 ? "\n" : ",\n") << indented(module.dump(2), "      ");
    }
    out << (network.modules.empty() ? "]" : "\n    ]") << "\n  }\n}\n";
}

std::variant<SimState, std::string> sim_state_from_json(const nlohmann::json& in)
{
    try {
        return read_sim_state(JsonAt(in));
    } catch (const JsonError& error) {
        return std::string("state: ") + error.what();
    }
}

std::variant<SimState, std::string> load_sim_state(const std::string& path)
{
    const FileRead read = read_regular_file(utf8_path(path), sim_state_file);
    if (const auto* failure = std::get_if<ReadFailure>(&read)) {
        if (failure->missing) return SimState{};
        return "cannot read the state file " + describe(utf8_path(path), *failure);
    }
    nlohmann::json parsed;
    try {
        parsed = parse_json_document(std::get<std::string>(read));
    } catch (const JsonError& error) {
        return path + ": " + error.what();
    }
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
    const std::string reason = replace_file(
        utf8_path(path), [&](std::ostream& out) { write_sim_state(out, controllers, network); });
    return reason.empty() ? reason : "cannot write the state file " + path + ": " + reason;
}

} // namespace zk::sim
