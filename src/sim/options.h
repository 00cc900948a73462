#pragma once
// zksim's command line, read by CLI11 as zkctl's is: each face adds its own options, so a further
// face adds a function rather than touching the parser.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "base/ports.h"
#include "sim/controller_model.h"
#include "sim/faults.h"
#include "sim/network_module.h"

namespace zk::sim {

// Parses `arguments` (the program name left out) into the options added to `app`. CLI11 stops at
// the first problem, so `error` is the one message, "" when everything was taken.
struct ParsedArguments
{
    bool help = false; // -h or --help: the caller prints app.help()
    std::string error;
};
ParsedArguments parse_arguments(CLI::App& app, const std::vector<std::string>& arguments);

struct HostPort
{
    std::string host;
    int port = 0;
};

// Everything the command face (HS3 on UDP) is told on the command line.
struct CommandFaceOptions
{
    std::string bind_address = "0.0.0.0";
    int hs3_port = hs3_remote_port;
    std::string state_file; // empty: nothing kept
    std::optional<HostPort> reply_to;
    bool reply_to_server = false; // to each module's destination IP and port, as in UDP-client mode
    bool log = false;
    ModelOptions model;
    FaultOptions faults;
};

// The command face's options and those shared by every face (state, log, faults).
void add_command_face_options(CLI::App& app, CommandFaceOptions& options);

// Everything the network-module face (configuration datagrams) is told on the command line.
struct NetworkFaceOptions
{
    int count = 1;
    Mac mac_base{0x84, 0xC2, 0xE4, 0x00, 0x00, 0x01};
    Ipv4 ip_base{192, 168, 1, 200};
    int config_port = config_remote_port; // 0: no network face
    int pc_port = find_local_port;
    bool reply_to_sender = false; // instead of broadcasting, as loopback has no broadcast
    ModuleFactory factory;        // --module-name, --module-version, --gateway
    bool strict_writes = false;   // refuse unsound blocks with C1, as careful modules do
    int rate = 0;                 // answers per second, as a segment of limited speed; 0: unpaced
};

// The network-module face's options.
void add_network_face_options(CLI::App& app, NetworkFaceOptions& options);

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
