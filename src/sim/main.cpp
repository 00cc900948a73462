// zksim: simulated controllers for trying the tool without hardware. Each controller has the
// network module's face (configuration datagrams) and the command face (HS3 frames).
#include <QCoreApplication>
#include <iostream>
#include <memory>
#include <variant>

#include "sim/command_face.h"
#include "sim/network_face.h"
#include "sim/options.h"
#include "sim/quit_on_signal.h"
#include "sim/sim_state.h"

namespace {

using namespace zk::sim;

struct Options
{
    CommandFaceOptions command;
    NetworkFaceOptions network;
};

// Fills `options` from the command line; the exit status when the program should stop now.
std::optional<int> parse_command_line(int argc, char** argv, Options& options)
{
    std::vector<OptionSpec> table = command_face_option_table(options.command);
    for (OptionSpec& row : network_face_option_table(options.network))
        table.push_back(std::move(row));
    ParsedArguments parsed = parse_options(table, {argv + 1, argv + argc});
    if (parsed.help) {
        std::cout << usage_text("zksim", table);
        return 0;
    }
    if (std::string conflict = conflicting_options(options.command); !conflict.empty())
        parsed.errors.push_back(std::move(conflict));
    for (const std::string& error : parsed.errors)
        std::cerr << "zksim: " << error << "\n";
    if (!parsed.errors.empty()) return 2;
    return std::nullopt;
}

int fail(const std::string& message)
{
    std::cerr << "zksim: " << message << std::endl;
    return 1;
}

std::string cannot_bind(const std::string& address, int port)
{
    return "cannot listen on " + address + ":" + std::to_string(port) +
           " (address not local, or port in use)";
}

void print_line(std::string_view line)
{
    std::cout << line << std::endl;
}

// The state to start from: the file's when one is named and readable, defaults otherwise.
std::variant<SimState, std::string> initial_state(const std::string& path)
{
    if (path.empty()) return SimState{};
    return load_sim_state(path);
}

// Writes the state file now, so it shows where the modules start, and after every change of
// either face; "" or why the first write failed.
std::string keep_state(const std::string& path,
                       CommandFace& face,
                       NetworkFace* module_face,
                       const NetworkModel& modules)
{
    if (path.empty()) return {};
    const auto save = [path, &face, &modules] {
        return save_sim_state(path, face.state(), modules);
    };
    if (std::string error = save(); !error.empty()) return error;
    const auto save_or_warn = [save] {
        if (const std::string error = save(); !error.empty())
            std::cerr << "zksim: " << error << std::endl;
    };
    face.on_state_changed([save_or_warn](const ControllerState&) { save_or_warn(); });
    if (module_face) module_face->on_change(save_or_warn);
    return {};
}

// The modules the options make, or the state file's when it has them; either way a reset brings
// a module back to what the options make for its place.
NetworkModel network_model(const NetworkFaceOptions& options, std::optional<NetworkModel>& loaded)
{
    const int count = loaded ? static_cast<int>(loaded->modules.size()) : options.count;
    NetworkModel model =
        make_network_model(count, options.mac_base, options.ip_base, options.factory);
    if (loaded) model.modules = std::move(loaded->modules);
    model.strict_writes = options.strict_writes;
    return model;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    if (const std::optional<int> status = parse_command_line(argc, argv, options)) return *status;
    const CommandFaceOptions& command = options.command;
    const NetworkFaceOptions& network = options.network;
    auto loaded = initial_state(command.state_file);
    if (const auto* error = std::get_if<std::string>(&loaded)) return fail(*error);
    SimState& state = std::get<SimState>(loaded);
    NetworkModel modules = network_model(network, state.network);

    CommandFace face(command, state.controller, print_line, &modules);
    if (!face.is_listening()) return fail(cannot_bind(command.bind_address, command.hs3_port));
    std::unique_ptr<NetworkFace> module_face;
    if (network.config_port != 0) {
        module_face = std::make_unique<NetworkFace>(modules, network, command.faults,
                                                    command.log ? print_line : LogLine{});
        if (!module_face->is_bound()) return fail(cannot_bind("0.0.0.0", network.config_port));
    }
    const std::string error = keep_state(command.state_file, face, module_face.get(), modules);
    if (!error.empty()) return fail(error);

    std::cout << "zksim: " << face.describe() << std::endl;
    if (module_face) std::cout << "zksim: " << module_face->describe() << std::endl;
    std::cout << "zksim: Ctrl-C to stop" << std::endl;
    quit_on_signals();
    const int status = QCoreApplication::exec();
    std::cout << "zksim: stopped" << std::endl;
    return status;
}
