#include "sim/options.h"

#include <charconv>
#include <cstdint>
#include <functional>
#include <sstream>

#include "base/ipv4_text.h"
#include "base/values.h"
#include "discovery/search_reply.h"

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

std::string in_quotes(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

// Takes an option's value: the refusal without the option's name, or "" once stored.
using Reader = std::function<std::string(const std::string&)>;

// Given twice, the last value counts, as it did before the options were read by CLI11.
void value_option(CLI::App& app,
                  const std::string& name,
                  const std::string& value_name,
                  const std::string& help,
                  Reader read)
{
    const auto take = [name, read](const std::string& value) {
        if (std::string error = read(value); !error.empty())
            throw CLI::ValidationError(name, error);
    };
    app.add_option_function<std::string>(name, take, help)
        ->type_name(value_name)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

// A number in [min, max], stored through `store`.
template <typename T>
void number_option(CLI::App& app,
                   const std::string& name,
                   const std::string& value_name,
                   const std::string& help,
                   T min,
                   T max,
                   std::function<void(T)> store)
{
    value_option(app, name, value_name, help, [min, max, store](const std::string& value) {
        const std::optional<T> number = parse_number<T>(value, min, max);
        if (!number)
            return "expected a number from " + number_text(min) + " to " + number_text(max) +
                   ", not " + in_quotes(value);
        store(*number);
        return std::string();
    });
}

// A flag that sets `flag` and takes no value.
void flag_option(CLI::App& app, const std::string& name, const std::string& help, bool& flag)
{
    app.add_flag(name, flag, help)->disable_flag_override();
}

void add_fault_options(CLI::App& app, FaultOptions& faults)
{
    number_option<double>(app, "--loss", "P", "Drop each reply with chance P (0 to 1).", 0.0, 1.0,
                          [&faults](double v) { faults.loss = v; });
    number_option<std::uint32_t>(app, "--seed", "N", "Lose the same replies at every run.", 0,
                                 0xFFFFFFFFu, [&faults](std::uint32_t v) { faults.seed = v; });
    number_option<int>(app, "--delay", "MS", "Delay every reply by MS milliseconds.", 0, 600000,
                       [&faults](int v) { faults.delay_ms = v; });
    flag_option(app, "--duplicate", "Send every reply twice.", faults.duplicate);
    number_option<std::size_t>(app, "--truncate", "N", "Cut every reply to its first N bytes.", 1,
                               65535, [&faults](std::size_t v) { faults.truncate = v; });
}

void add_state_and_model_options(CLI::App& app, CommandFaceOptions& o)
{
    value_option(app, "--state", "FILE",
                 "Keep every controller's settings in this JSON file, saved after each change is "
                 "answered.",
                 [&o](const std::string& v) {
                     o.state_file = v;
                     return v.empty() ? "expected a file name" : std::string();
                 });
    number_option<std::uint32_t>(
        app, "--card", "N", "Card presented at the reader (a card read answers N).", 0, 0xFFFFFFFFu,
        [&o](std::uint32_t v) { o.model.card_at_reader = v; });
    number_option<int>(app, "--fail-step", "N", "Fingerprint enrolment step 1-4 that fails.", 1, 4,
                       [&o](int v) { o.model.fail_step = v; });
}

void add_module_identity_options(CLI::App& app, NetworkFaceOptions& o)
{
    value_option(app, "--module-name", "TEXT",
                 "Name every module reports, 1 to 20 bytes (default ZK-NET).",
                 [&o](const std::string& v) {
                     if (v.empty() || v.size() > name_room - 1)
                         return "expected 1 to 20 bytes, not " + in_quotes(v);
                     o.factory.name = v;
                     return std::string();
                 });
    value_option(app, "--module-version", "H.S",
                 "Hardware and software version, 0-15 each (default 2.6).",
                 [&o](const std::string& v) {
                     const auto version = parse_version(v);
                     if (!version) return "expected H.S, each 0-15, not " + in_quotes(v);
                     o.factory.hardware_version = version->first;
                     o.factory.software_version = version->second;
                     return std::string();
                 });
    value_option(app, "--gateway", "IP",
                 "Modules' default gateway (default: first host of --ip-base's /24).",
                 [&o](const std::string& v) {
                     o.factory.gateway = parse_dotted_ipv4(v);
                     return o.factory.gateway ? std::string()
                                              : "expected an IPv4 address, not " + in_quotes(v);
                 });
    flag_option(app, "--strict-writes",
                "Refuse unsound writes (bad address, mask, gateway, DHCP flag, name, port 0) with "
                "code C1 and keep the settings.",
                o.strict_writes);
}

void add_module_address_options(CLI::App& app, NetworkFaceOptions& o)
{
    value_option(app, "--mac-base", "MAC",
                 "First module's MAC, counted up (default 84:C2:E4:00:00:01).",
                 [&o](const std::string& v) {
                     const std::optional<Mac> mac = discovery::parse_module_mac(v);
                     if (!mac) return "expected a MAC like 84:C2:E4:00:00:01, not " + in_quotes(v);
                     o.mac_base = *mac;
                     return std::string();
                 });
    value_option(app, "--ip-base", "IP",
                 "First controller's IPv4 address, counted up (default 192.168.1.200). The "
                 "modules' server address is the .100 host of its /24 (192.168.1.100 by "
                 "default).",
                 [&o](const std::string& v) {
                     const std::optional<Ipv4> ip = parse_dotted_ipv4(v);
                     if (!ip) return "expected an IPv4 address, not " + in_quotes(v);
                     o.ip_base = *ip;
                     return std::string();
                 });
    number_option<int>(app, "--config-port", "PORT",
                       "Configuration port of the modules (default 50000; 0: none).", 0, 65535,
                       [&o](int v) { o.config_port = v; });
    number_option<int>(app, "--pc-port", "PORT", "Port the modules' replies go to (default 60000).",
                       1, 65535, [&o](int v) { o.pc_port = v; });
}

} // namespace

ParsedArguments parse_arguments(CLI::App& app, const std::vector<std::string>& arguments)
{
    // CLI11 reads the arguments from the back.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    ParsedArguments parsed;
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        parsed.help = true;
    } catch (const CLI::ParseError& error) {
        parsed.error = error.what();
        // CLI11 names a flag given a value without its dashes; say it as the user wrote it.
        const std::string override = " was given a disallowed flag override";
        if (parsed.error.ends_with(override))
            parsed.error = "--" + parsed.error.substr(0, parsed.error.size() - override.size()) +
                           " takes no value";
    }
    return parsed;
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

void add_command_face_options(CLI::App& app, CommandFaceOptions& o)
{
    value_option(app, "--bind", "ADDR",
                 "Local IPv4 address the HS3 commands are taken on (default 0.0.0.0).",
                 [&o](const std::string& v) {
                     o.bind_address = v;
                     return v.empty() ? "expected an IPv4 address" : std::string();
                 });
    number_option<int>(app, "--hs3-port", "PORT", "HS3 command port (default 16006).", 0, 65535,
                       [&o](int v) { o.hs3_port = v; });
    value_option(app, "--reply-to", "HOST:PORT",
                 "Send every HS3 reply there (default: to the sender).",
                 [&o](const std::string& v) {
                     o.reply_to = parse_host_port(v);
                     return o.reply_to ? std::string() : "expected HOST:PORT, not " + in_quotes(v);
                 });
    flag_option(app, "--reply-to-server",
                "Send each controller's HS3 replies to the server IP and port set in its network "
                "module (UDP-client mode).",
                o.reply_to_server);
    add_state_and_model_options(app, o);
    add_fault_options(app, o.faults);
    flag_option(app, "--log", "Print every datagram in hex with its meaning.", o.log);
}

void add_network_face_options(CLI::App& app, NetworkFaceOptions& o)
{
    number_option<int>(
        app, "--count", "N",
        "Simulate N controllers, each with its own network module, address and command state "
        "(default 1). 100,000 take about 160 MB of memory and a 120 MB state file.",
        1, 100000, [&o](int v) { o.count = v; });
    add_module_address_options(app, o);
    flag_option(app, "--reply-to-sender",
                "Answer configuration requests to the asker instead of broadcasting.",
                o.reply_to_sender);
    add_module_identity_options(app, o);
    number_option<int>(app, "--rate", "N",
                       "Send at most N answers per second, as a segment of limited speed "
                       "(default: all at once).",
                       1, 10000000, [&o](int v) { o.rate = v; });
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
        return "--ip-base " + ipv4_text(options.ip_base) + with_count +
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
