#include "sim/network_face.h"

#include <QTimer>
#include <charconv>

#include "discovery/find_handlers.h"

namespace zk::sim {

namespace {

constexpr std::string_view help_text =
    "Network module (configuration datagrams):\n"
    "  --count N            simulate N modules answering one search (default 1)\n"
    "  --mac-base MAC       first module's MAC, counted up (default 84:C2:E4:00:00:01)\n"
    "  --ip-base IP         first module's address, counted up (default 192.168.1.200)\n"
    "  --config-port PORT   port the modules listen on (default 50000)\n"
    "  --pc-port PORT       port replies are broadcast to (default 60000)\n"
    "  --reply-to-sender    answer the asker instead of broadcasting (for loopback)\n";

bool to_int(std::string_view text, int low, int high, int& out)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < low || value > high)
        return false;
    out = value;
    return true;
}

// Applies one option that takes a value; false with `error` set when the value is bad.
bool apply_value(std::string_view name,
                 std::string_view value,
                 NetworkFaceOptions& options,
                 std::string& error)
{
    bool ok = false;
    if (name == "--count") {
        ok = to_int(value, 1, 100000, options.count);
    } else if (name == "--config-port") {
        ok = to_int(value, 0, 65535, options.config_port);
    } else if (name == "--pc-port") {
        ok = to_int(value, 1, 65535, options.pc_port);
    } else if (name == "--mac-base") {
        const std::optional<Mac> mac = parse_mac(value);
        if ((ok = mac.has_value())) options.mac_base = *mac;
    } else if (name == "--ip-base") {
        const std::optional<Ipv4> ip = discovery::parse_ipv4(value);
        if ((ok = ip.has_value())) options.ip_base = *ip;
    }
    if (!ok) error = "bad value for " + std::string(name) + ": " + std::string(value);
    return ok;
}

bool takes_value(std::string_view name)
{
    return name == "--count" || name == "--mac-base" || name == "--ip-base" ||
           name == "--config-port" || name == "--pc-port";
}

} // namespace

bool take_network_face_options(std::vector<std::string>& args,
                               NetworkFaceOptions& options,
                               std::string& error)
{
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        if (name == "--reply-to-sender" && equals == std::string_view::npos) {
            options.reply_to_sender = true;
        } else if (!takes_value(name)) {
            rest.push_back(args[i]);
        } else if (equals != std::string_view::npos) {
            if (!apply_value(name, arg.substr(equals + 1), options, error)) return false;
        } else if (i + 1 < args.size()) {
            if (!apply_value(name, args[++i], options, error)) return false;
        } else {
            error = std::string(name) + " needs a value";
            return false;
        }
    }
    args = std::move(rest);
    return true;
}

std::string_view network_face_help()
{
    return help_text;
}

NetworkFace::NetworkFace(NetworkModel& model, const NetworkFaceOptions& options, ReplyFaults faults)
    : model_(model), options_(options), faults_(faults), random_(faults.seed),
      endpoint_(options.config_port)
{
    endpoint_.on_datagram([this](ByteView request) { answer(request, endpoint_.received_from()); });
}

void NetworkFace::answer(ByteView request, const Peer& asker)
{
    const ModelAnswer result = model_.handle(request);
    if (result.changed && on_change_) on_change_();
    const Peer to = options_.reply_to_sender ? asker : Peer{"", options_.pc_port};
    for (const Bytes& reply : result.replies) {
        if (chance(faults_.loss)) continue;
        send(reply, to);
        if (chance(faults_.duplicate)) send(reply, to);
    }
}

void NetworkFace::send(const Bytes& reply, const Peer& to)
{
    if (faults_.delay_ms <= 0) {
        endpoint_.send(to.address, to.port, reply);
        return;
    }
    QTimer::singleShot(faults_.delay_ms, &timers_,
                       [this, reply, to] { endpoint_.send(to.address, to.port, reply); });
}

bool NetworkFace::chance(double probability)
{
    if (probability <= 0.0) return false;
    return std::uniform_real_distribution<double>(0.0, 1.0)(random_) < probability;
}

} // namespace zk::sim
