#pragma once
// zksim's command line as tables: each face contributes its own rows, so a further face adds a
// table rather than touching the parser.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/controller_model.h"
#include "sim/faults.h"

namespace zk::sim {

struct OptionSpec
{
    std::string_view name;       // "--hs3-port"
    std::string_view value_name; // "PORT"; empty for a flag
    std::string_view help;
    // Takes the value (empty for a flag); returns an error message, or "" when accepted.
    std::function<std::string(std::string_view)> apply;
};

struct ParsedArguments
{
    bool help = false;
    std::vector<std::string> errors;
};

// Applies "--name VALUE", "--name=VALUE" and flags in order; "--help"/"-h" sets help.
ParsedArguments parse_options(const std::vector<OptionSpec>& table,
                              const std::vector<std::string>& arguments);

// The usage text: one line per option with its value name and help.
std::string usage_text(std::string_view program, const std::vector<OptionSpec>& table);

struct HostPort
{
    std::string host;
    int port = 0;
};

// Everything the command face (HS3 on UDP) is told on the command line.
struct CommandFaceOptions
{
    std::string bind_address = "0.0.0.0";
    int hs3_port = 16006;
    std::string state_file; // empty: nothing kept
    std::optional<HostPort> reply_to;
    bool log = false;
    ModelOptions model;
    FaultOptions faults;
};

// The rows of the command face and of the options shared by every face (state, log, faults).
std::vector<OptionSpec> command_face_option_table(CommandFaceOptions& options);

// "HOST:PORT" with a port from 1 to 65535.
std::optional<HostPort> parse_host_port(std::string_view text);

} // namespace zk::sim
