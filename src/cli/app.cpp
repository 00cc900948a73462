#include "cli/app.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <utility>

#include "base/file_read.h"
#include "base/file_write.h"
#include "base/text.h"
#include "cli/commands.h"
#include "cli/projector_commands.h"

namespace zk::cli {

namespace {

void add_global_options(CLI::App& app, Globals& g)
{
    app.add_flag("--json", g.json, "Print results as JSON");
    app.add_option("--timeout", g.timeout_seconds,
                   "Seconds to wait for each answer; for discover, for all answers (default 1)")
        ->check(range(0.01, 600))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("--retries", g.retries, "Times a request is sent again (default 2)")
        ->check(range(0, 20))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("--adapter", g.adapter,
                   "Network adapter for broadcasts and --server self (name or address)");
    // Tests and benchmarks run beside other programs on the same machine: hidden, so the
    // installer only ever sees the ports the controllers use.
    const std::pair<const char*, int*> hidden_ports[] = {
        {"--config-local-port", &g.ports.find_local},
        {"--config-port", &g.ports.config_remote},
        {"--hs3-local-port", &g.ports.settings_local},
        {"--hs3-port", &g.ports.hs3_remote},
    };
    for (const auto& [name, port] : hidden_ports)
        app.add_option(name, *port)
            ->group("")
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

void report(const Context& context, const Exit& error, bool json)
{
    context.io.err << "zkctl: " << error.what() << "\n" << std::flush;
    if (json)
        context.io.out
            << nlohmann::ordered_json{{"error", error.what()}, {"exit", error.code()}}.dump(2)
            << "\n"
            << std::flush;
}

// With --output the result waited in a buffer: it becomes the file only when the command
// succeeded, so a failed backup leaves neither an empty file nor a half one, and an older file
// of that name stays as it was. A result that is not written still reaches stdout.
int deliver_output(Context& context, int status)
{
    const std::string& file = context.globals.output;
    if (file.empty()) return status;
    const std::string result = context.held_output.str();
    if (status == exit_ok) {
        const std::string failure = replace_file(utf8_path(file), result);
        if (failure.empty()) return exit_ok;
        report(context, Exit(exit_local_error, file + ": cannot write: " + failure),
               context.globals.json);
        status = exit_local_error;
    } else {
        context.warn(file + " was not written: the command did not succeed");
    }
    context.io.out << result << std::flush;
    return status;
}

} // namespace

std::string writable_file(const std::string& file)
{
    const std::filesystem::path path = utf8_path(file);
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return file + ": is a folder, not a file";
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    if (!std::filesystem::is_directory(folder, error)) return file + ": its folder does not exist";
    return "";
}

void add_output_option(CLI::App& command, Context& context)
{
    command
        .add_option("--output", context.globals.output,
                    "Write the result to FILE (replaced only when the command succeeds)")
        ->type_name("FILE")
        ->check(CLI::Validator(writable_file, ""));
}

CLI::Validator range(double min, double max)
{
    const std::string bounds = to_text(min) + "-" + to_text(max);
    return CLI::Validator(
        [min, max, bounds](std::string& input) {
            double value = 0;
            if (CLI::detail::lexical_cast(input, value) && value >= min && value <= max)
                return std::string();
            return input + " is out of range (" + bounds + ")";
        },
        "in " + bounds);
}

CLI::Option* add_host_option(CLI::App& command, std::string& host)
{
    return command.add_option("--host", host, "The controller's IPv4 address")->required();
}

int run(const std::vector<std::string>& arguments, Io& io)
{
    Context context{io, {}};
    CLI::App app{"zkctl: configure projector-room controllers from a shell", "zkctl"};
    app.set_version_flag("--version", "zkctl " ZKCTL_VERSION);
    app.require_subcommand(1);
    app.fallthrough();
    app.footer("Every command also takes --json, --timeout S, --retries N and --adapter NAME "
               "(see zkctl --help).\nExit status: 0 done, 2 no answer, 3 refused by the "
               "controller, 4 local error (port taken, adapter missing), 64 bad command line or "
               "input.");
    add_global_options(app, context.globals);
    add_network_commands(app, context);
    add_setting_commands(app, context);
    add_registry_commands(app, context);
    add_backup_commands(app, context);
    add_site_commands(app, context);
    add_projector_commands(app, context);

    std::vector<const char*> argv{"zkctl"};
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    try {
        app.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) return app.exit(error, io.out, io.err); // --help
        // The flag may not have been taken yet when the command line is refused.
        const bool json = context.globals.json || std::find(arguments.begin(), arguments.end(),
                                                            "--json") != arguments.end();
        report(context, Exit(exit_usage, error.what()), json);
        return exit_usage;
    } catch (const Exit& error) {
        report(context, error, context.globals.json);
        return deliver_output(context, error.code());
    }
    return deliver_output(context, context.status);
}

} // namespace zk::cli
