// zksim: simulated controllers for trying the tool without hardware. Each controller has the
// network module's face (configuration datagrams) and the command face (HS3 frames).
#include <iostream>
#include <memory>
#include <variant>

#include "base/program_start.h"
#include "net/event_loop.h"
#include "sim/command_face.h"
#include "sim/network_face.h"
#include "sim/options.h"
#include "sim/quit_on_signal.h"
#include "sim/sim_state.h"
#include "sim/state_keeper.h"

namespace {

using namespace zk::sim;

struct Options
{
    CommandFaceOptions command;
    NetworkFaceOptions network;
};

// Fills `options` from the command line; the exit status when the program should stop now.
std::optional<int> parse_command_line(const std::vector<std::string>& arguments, Options& options)
{
    CLI::App app{"zksim: simulated projector-room controllers", "zksim"};
    app.set_help_flag("-h,--help", "Show this help and exit.");
    add_command_face_options(app, options.command);
    add_network_face_options(app, options.network);
    const ParsedArguments parsed = parse_arguments(app, arguments);
    if (parsed.help) {
        std::cout << app.help();
        return 0;
    }
    std::string problem = parsed.error;
    if (problem.empty()) problem = conflicting_options(options.command);
    if (problem.empty()) problem = address_range_error(options.network);
    if (problem.empty()) return std::nullopt;
    std::cerr << "zksim: " << problem << "\n";
    return 2;
}

int fail(const std::string& message)
{
    std::cerr << "zksim: " << message << std::endl;
    return 1;
}

std::string cannot_bind(const std::string& address, int port, const std::string& reason)
{
    return "cannot listen on " + address + ":" + std::to_string(port) + ": " + reason;
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

// Writes the state file now, so it shows where the controllers start, and after every change of
// either face; nullptr (with the reason printed) when the first write failed.
std::unique_ptr<StateKeeper>
keep_state(const std::string& path, CommandFace& face, const NetworkModel& modules)
{
    auto keeper = std::make_unique<StateKeeper>(
        path,
        [&face, &modules] {
            return StateSnapshot{face.states(), modules};
        },
        [](const std::string& error) { std::cerr << "zksim: " << error << std::endl; });
    if (const std::string error = keeper->save_now(); !error.empty()) {
        fail(error);
        return nullptr;
    }
    return keeper;
}

} // namespace

int main(int argc, char** argv)
{
    zk::use_utf8_console();
    zk::EventLoop loop;
    Options options;
    if (const std::optional<int> status =
            parse_command_line(zk::program_arguments(argc, argv), options))
        return *status;
    const CommandFaceOptions& command = options.command;
    const NetworkFaceOptions& network = options.network;
    auto loaded = initial_state(command.state_file);
    if (const auto* error = std::get_if<std::string>(&loaded)) return fail(*error);
    SimState& state = std::get<SimState>(loaded);
    NetworkModel modules = starting_network(network, std::move(state.network));

    CommandFace face(command, std::move(state.controllers), print_line, &modules);
    if (!face.is_listening())
        return fail(cannot_bind(command.bind_address, command.hs3_port, face.bind_error()));
    std::unique_ptr<NetworkFace> module_face;
    if (network.config_port != 0) {
        module_face = std::make_unique<NetworkFace>(modules, network, command.faults,
                                                    command.log ? print_line : LogLine{});
        if (!module_face->is_bound())
            return fail(cannot_bind("0.0.0.0", network.config_port, module_face->bind_error()));
    }
    std::unique_ptr<StateKeeper> keeper;
    if (!command.state_file.empty()) {
        keeper = keep_state(command.state_file, face, modules);
        if (!keeper) return 1;
        face.on_state_changed([&keeper](const ControllerState&) { keeper->changed(); });
    }
    if (module_face) {
        module_face->on_change([&keeper] {
            if (keeper) keeper->changed();
        });
    }

    std::cout << "zksim: " << face.describe() << std::endl;
    if (module_face) std::cout << "zksim: " << module_face->describe() << std::endl;
    std::cout << "zksim: Ctrl-C to stop" << std::endl;
    const QuitOnSignals quit_on_signals(loop);
    const int status = loop.run();
    if (keeper) keeper->flush();
    std::cout << "zksim: stopped" << std::endl;
    return status;
}
