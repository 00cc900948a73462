#pragma once
// The zkctl commands, one group per file; each adds its subcommands to the application.
#include <CLI/CLI.hpp>

#include "cli/context.h"

namespace zk::cli {

// discover, netcfg set, netcfg apply
void add_network_commands(CLI::App& app, Context& context);
// get and set of id, volume, timings, mode, serial
void add_setting_commands(CLI::App& app, Context& context);
// card ..., fingerprint ..., auth ...
void add_registry_commands(CLI::App& app, Context& context);
// backup, restore
void add_backup_commands(CLI::App& app, Context& context);
// site save, diff, apply, replace
void add_site_commands(CLI::App& app, Context& context);

// A check that a number lies in [min, max], its message showing the bounds as a person writes
// them ("0.01-600"; CLI11's own shows "0.010000 to 600.000000").
CLI::Validator range(double min, double max);

// Adds --output FILE to a command whose result people keep as a file: the result is written
// there, atomically, only when the command succeeds.
void add_output_option(CLI::App& command, Context& context);

// "" when `file` can be written once the command is done, otherwise why not (a folder, no such
// folder): checked before anything is sent.
std::string writable_file(const std::string& file);

// Adds the --host option every command to one controller takes.
CLI::Option* add_host_option(CLI::App& command, std::string& host);

} // namespace zk::cli
