// zksim: a simulated controller for trying the tool without hardware.
#include <QCoreApplication>
#include <iostream>
#include <variant>

#include "sim/command_face.h"
#include "sim/options.h"
#include "sim/quit_on_signal.h"

namespace {

using namespace zk::sim;

// The state to start from: the state file when one is named and readable, defaults otherwise.
std::variant<ControllerState, std::string> initial_state(const CommandFaceOptions& options)
{
    if (options.state_file.empty()) return ControllerState{};
    return load_state_file(options.state_file);
}

void keep_state(CommandFace& face, const std::string& path)
{
    if (path.empty()) return;
    face.on_state_changed([path](const ControllerState& state) {
        if (const std::string error = save_state_file(path, state); !error.empty())
            std::cerr << "zksim: " << error << std::endl;
    });
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    CommandFaceOptions options;
    const std::vector<OptionSpec> table = command_face_option_table(options);
    const ParsedArguments parsed = parse_options(table, {argv + 1, argv + argc});
    if (parsed.help) {
        std::cout << usage_text("zksim", table);
        return 0;
    }
    for (const std::string& error : parsed.errors)
        std::cerr << "zksim: " << error << "\n";
    if (!parsed.errors.empty()) return 2;

    std::variant<ControllerState, std::string> state = initial_state(options);
    if (const auto* error = std::get_if<std::string>(&state)) {
        std::cerr << "zksim: " << *error << std::endl;
        return 1;
    }
    CommandFace face(options, std::get<ControllerState>(std::move(state)),
                     [](std::string_view line) { std::cout << line << std::endl; });
    if (!face.is_listening()) {
        std::cerr << "zksim: cannot listen on " << options.bind_address << ":" << options.hs3_port
                  << " (address not local, or port in use)" << std::endl;
        return 1;
    }
    keep_state(face, options.state_file);
    std::cout << "zksim: " << face.describe() << "; Ctrl-C to stop" << std::endl;
    quit_on_signals();
    const int status = QCoreApplication::exec();
    std::cout << "zksim: stopped" << std::endl;
    return status;
}
