#pragma once
// zkctl's side of the projector library: `projectors`, and the serial settings of `set serial`
// taken from a library entry or a room's file.
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/context.h"
#include "protocol/request.h"

namespace zk::cli {

struct SerialSource
{
    std::string projector; // an entry's name, "Epson ESC/VP21"
    std::string from;      // a room's codes file
    std::string library;   // a library file instead of the installed one
};

// projectors [--library FILE]
void add_projector_commands(CLI::App& app, Context& context);

// --projector, --from and --library of `set serial`.
void add_serial_source_options(CLI::App& command, SerialSource& source);

// The settings the source names, nullopt when it names none; a usage error for an unknown
// entry or a bad file.
std::optional<protocol::ProjectorCodes> serial_from_source(Context& context,
                                                           const SerialSource& source);

} // namespace zk::cli
