#pragma once
// zksim's command line as tables: each face contributes its own rows, so a further face adds a
// table rather than touching the parser.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/controller_model.h"
#include "sim/faults.h"
#include "sim/network_module.h"

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
    bool reply_to_server = false; // to each module's destination IP and port, as in UDP-client mode
    bool log = false;
    ModelOptions model;
    FaultOptions faults;
};

// The rows of the command face and of the options shared by every face (state, log, faults).
std::vector<OptionSpec> command_face_option_table(CommandFaceOptions& options);

// Everything the network-module face (configuration datagrams) is told on the command line.
struct NetworkFaceOptions
{
    int count = 1;
    Mac mac_base{0x84, 0xC2, 0xE4, 0x00, 0x00, 0x01};
    Ipv4 ip_base{192, 168, 1, 200};
    int config_port = 50000; // 0: no network face
    int pc_port = 60000;
    bool reply_to_sender = false; // instead of broadcasting, as loopback has no broadcast
    ModuleFactory factory;        // --module-name, --module-version, --gateway
    bool strict_writes = false;   // refuse unsound blocks with C1, as careful modules do
    int rate = 0;                 // answers per second, as a segment of limited speed; 0: unpaced
};

// The rows of the network-module face.
std::vector<OptionSpec> network_face_option_table(NetworkFaceOptions& options);

// Bases whose count runs past the last MAC or outside the addresses a controller can have
// (0.0.0.1-255.255.255.254), as a message; "" when every controller gets its own.
std::string address_range_error(const NetworkFaceOptions& options);

// Options that contradict each other, as a message; "" when they agree.
std::string conflicting_options(const CommandFaceOptions& options);

// "H.S": hardware and software version, 0-15 each.
std::optional<std::pair<std::uint8_t, std::uint8_t>> parse_version(std::string_view text);

// "HOST:PORT" with a port from 1 to 65535.
std::optional<HostPort> parse_host_port(std::string_view text);

} // namespace zk::sim
