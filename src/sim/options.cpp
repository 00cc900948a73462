#include "sim/options.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <sstream>

#include "present/find/find_handlers.h"

namespace zk::sim {

namespace {

template <typename T> std::optional<T> parse_number(std::string_view text, T min, T max)
{
    T value{};
    const char* end = text.data() + text.size();
    const auto [stop, failed] = std::from_chars(text.data(), end, value);
    if (text.empty() || failed != std::errc() || stop != end || value < min || value > max)
        return std::nullopt;
    return value;
}

// A bound as the user would write it: "0" and "1", not "0.000000" and "1.000000".
template <typename T> std::string number_text(T value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}

// A row whose value is a number in [min, max], stored through `store`.
template <typename T>
OptionSpec number_option(std::string_view name,
                         std::string_view value_name,
                         std::string_view help,
                         T min,
                         T max,
                         std::function<void(T)> store)
{
    auto apply = [name, min, max, store](std::string_view value) -> std::string {
        const std::optional<T> number = parse_number<T>(value, min, max);
        if (!number)
            return std::string(name) + ": expected a number from " + number_text(min) + " to " +
                   number_text(max) + ", not \"" + std::string(value) + "\"";
        store(*number);
        return {};
    };
    return {name, value_name, help, apply};
}

const OptionSpec* find(const std::vector<OptionSpec>& table, std::string_view name)
{
    for (const OptionSpec& row : table) {
        if (row.name == name) return &row;
    }
    return nullptr;
}

// A flag row that sets `flag`.
OptionSpec flag_option(std::string_view name, std::string_view help, bool& flag)
{
    return {name, "", help, [&flag](std::string_view) -> std::string {
                flag = true;
                return {};
            }};
}

} // namespace

ParsedArguments parse_options(const std::vector<OptionSpec>& table,
                              const std::vector<std::string>& arguments)
{
    ParsedArguments parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            parsed.help = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string_view name = argument.substr(0, equals);
        const OptionSpec* row = find(table, name);
        if (!row) {
            parsed.errors.push_back("unknown option \"" + std::string(argument) + "\"");
            continue;
        }
        std::string_view value;
        if (equals != std::string_view::npos) {
            value = argument.substr(equals + 1);
        } else if (!row->value_name.empty()) {
            if (i + 1 >= arguments.size()) {
                parsed.errors.push_back(std::string(name) + " needs " +
                                        std::string(row->value_name));
                continue;
            }
            value = arguments[++i];
        }
        if (row->value_name.empty() && equals != std::string_view::npos) {
            parsed.errors.push_back(std::string(name) + " takes no value");
            continue;
        }
        if (std::string error = row->apply(value); !error.empty())
            parsed.errors.push_back(std::move(error));
    }
    return parsed;
}

std::string usage_text(std::string_view program, const std::vector<OptionSpec>& table)
{
    std::string text = "Usage: " + std::string(program) + " [options]\n\nOptions:\n";
    for (const OptionSpec& row : table) {
        std::string left = "  " + std::string(row.name);
        if (!row.value_name.empty()) {
            left += ' ';
            left += row.value_name;
        }
        left.resize(std::max<std::size_t>(left.size() + 2, 24), ' ');
        text += left + std::string(row.help) + "\n";
    }
    text += "  -h, --help            Show this help and exit.\n";
    return text;
}

std::optional<HostPort> parse_host_port(std::string_view text)
{
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon == 0) return std::nullopt;
    const std::optional<int> port = parse_number<int>(text.substr(colon + 1), 1, 65535);
    if (!port) return std::nullopt;
    return HostPort{std::string(text.substr(0, colon)), *port};
}

std::optional<std::pair<std::uint8_t, std::uint8_t>> parse_version(std::string_view text)
{
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos) return std::nullopt;
    const auto hardware = parse_number<int>(text.substr(0, dot), 0, 15);
    const auto software = parse_number<int>(text.substr(dot + 1), 0, 15);
    if (!hardware || !software) return std::nullopt;
    return std::pair{static_cast<std::uint8_t>(*hardware), static_cast<std::uint8_t>(*software)};
}

std::vector<OptionSpec> command_face_option_table(CommandFaceOptions& o)
{
    return {
        {"--bind", "ADDR", "Local IPv4 address the HS3 commands are taken on (default 0.0.0.0).",
         [&o](std::string_view v) -> std::string {
             if (v.empty()) return "--bind: expected an IPv4 address";
             o.bind_address = v;
             return {};
         }},
        number_option<int>("--hs3-port", "PORT", "HS3 command port (default 16006).", 0, 65535,
                           [&o](int v) { o.hs3_port = v; }),
        {"--reply-to", "HOST:PORT", "Send every HS3 reply there (default: to the sender).",
         [&o](std::string_view v) -> std::string {
             o.reply_to = parse_host_port(v);
             return o.reply_to ? ""
                               : "--reply-to: expected HOST:PORT, not \"" + std::string(v) + "\"";
         }},
        flag_option("--reply-to-server",
                    "Send each controller's HS3 replies to the server IP and port set in its "
                    "network module (UDP-client mode).",
                    o.reply_to_server),
        {"--state", "FILE",
         "Keep every controller's settings in this JSON file, saved after each change is "
         "answered.",
         [&o](std::string_view v) -> std::string {
             if (v.empty()) return "--state: expected a file name";
             o.state_file = v;
             return {};
         }},
        number_option<std::uint32_t>(
            "--card", "N", "Card presented at the reader (a card read answers N).", 0, 0xFFFFFFFFu,
            [&o](std::uint32_t v) { o.model.card_at_reader = v; }),
        number_option<int>("--fail-step", "N", "Fingerprint enrolment step 1-4 that fails.", 1, 4,
                           [&o](int v) { o.model.fail_step = v; }),
        number_option<double>("--loss", "P", "Drop each reply with chance P (0 to 1).", 0.0, 1.0,
                              [&o](double v) { o.faults.loss = v; }),
        number_option<std::uint32_t>("--seed", "N", "Lose the same replies at every run.", 0,
                                     0xFFFFFFFFu, [&o](std::uint32_t v) { o.faults.seed = v; }),
        number_option<int>("--delay", "MS", "Delay every reply by MS milliseconds.", 0, 600000,
                           [&o](int v) { o.faults.delay_ms = v; }),
        flag_option("--duplicate", "Send every reply twice.", o.faults.duplicate),
        number_option<std::size_t>("--truncate", "N", "Cut every reply to its first N bytes.", 1,
                                   65535, [&o](std::size_t v) { o.faults.truncate = v; }),
        flag_option("--log", "Print every datagram in hex with its meaning.", o.log),
    };
}

std::vector<OptionSpec> network_face_option_table(NetworkFaceOptions& o)
{
    return {
        number_option<int>(
            "--count", "N",
            "Simulate N controllers, each with its own network module, address and command "
            "state (default 1). 100,000 take about 160 MB of memory and a 120 MB state file.",
            1, 100000, [&o](int v) { o.count = v; }),
        {"--mac-base", "MAC", "First module's MAC, counted up (default 84:C2:E4:00:00:01).",
         [&o](std::string_view v) -> std::string {
             const std::optional<Mac> mac = parse_mac(v);
             if (!mac)
                 return "--mac-base: expected a MAC like 84:C2:E4:00:00:01, not \"" +
                        std::string(v) + "\"";
             o.mac_base = *mac;
             return {};
         }},
        {"--ip-base", "IP",
         "First controller's IPv4 address, counted up (default 192.168.1.200). The modules' "
         "server address is the .100 host of its /24 (192.168.1.100 by default).",
         [&o](std::string_view v) -> std::string {
             const std::optional<Ipv4> ip = discovery::parse_ipv4(v);
             if (!ip) return "--ip-base: expected an IPv4 address, not \"" + std::string(v) + "\"";
             o.ip_base = *ip;
             return {};
         }},
        number_option<int>("--config-port", "PORT",
                           "Configuration port of the modules (default 50000; 0: none).", 0, 65535,
                           [&o](int v) { o.config_port = v; }),
        number_option<int>("--pc-port", "PORT", "Port the modules' replies go to (default 60000).",
                           1, 65535, [&o](int v) { o.pc_port = v; }),
        flag_option("--reply-to-sender",
                    "Answer configuration requests to the asker instead of broadcasting.",
                    o.reply_to_sender),
        {"--module-name", "TEXT", "Name every module reports, 1 to 20 bytes (default ZK-NET).",
         [&o](std::string_view v) -> std::string {
             if (v.empty() || v.size() > name_room - 1)
                 return "--module-name: expected 1 to 20 bytes, not \"" + std::string(v) + "\"";
             o.factory.name = v;
             return {};
         }},
        {"--module-version", "H.S", "Hardware and software version, 0-15 each (default 2.6).",
         [&o](std::string_view v) -> std::string {
             const auto version = parse_version(v);
             if (!version)
                 return "--module-version: expected H.S, each 0-15, not \"" + std::string(v) + "\"";
             o.factory.hardware_version = version->first;
             o.factory.software_version = version->second;
             return {};
         }},
        {"--gateway", "IP", "Modules' default gateway (default: first host of --ip-base's /24).",
         [&o](std::string_view v) -> std::string {
             o.factory.gateway = discovery::parse_ipv4(v);
             if (!o.factory.gateway)
                 return "--gateway: expected an IPv4 address, not \"" + std::string(v) + "\"";
             return {};
         }},
        flag_option("--strict-writes",
                    "Refuse unsound writes (bad address, mask, gateway, DHCP flag, name, port 0) "
                    "with code C1 and keep the settings.",
                    o.strict_writes),
        number_option<int>("--rate", "N",
                           "Send at most N answers per second, as a segment of limited speed "
                           "(default: all at once).",
                           1, 10000000, [&o](int v) { o.rate = v; }),
    };
}

std::string address_range_error(const NetworkFaceOptions& options)
{
    const auto last = static_cast<std::uint64_t>(options.count - 1);
    std::uint64_t mac = 0;
    for (std::uint8_t b : options.mac_base)
        mac = (mac << 8) | b;
    const std::string with_count = " with --count " + std::to_string(options.count);
    // Counting past the top would wrap to 00:00:00:00:00:00, a MAC no module has.
    if (mac + last > 0xFFFF'FFFF'FFFFu)
        return "--mac-base " + mac_text(options.mac_base) + with_count +
               " runs past FF:FF:FF:FF:FF:FF";
    const std::uint64_t ip = read_be32(options.ip_base, 0);
    if (ip == 0 || ip + last >= 0xFFFF'FFFFu)
        return "--ip-base " + discovery::dotted(options.ip_base, 0) + with_count +
               " leaves 0.0.0.1 to 255.255.255.254, the addresses a controller can have";
    return {};
}

std::string conflicting_options(const CommandFaceOptions& options)
{
    if (options.reply_to && options.reply_to_server)
        return "--reply-to and --reply-to-server cannot both be given";
    return {};
}

} // namespace zk::sim
