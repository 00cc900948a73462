#include "sim/command_face.h"

#include "discovery/config_datagram.h"

namespace zk::sim {

CommandFace::CommandFace(const CommandFaceOptions& options,
                         ControllerState state,
                         LogLine log,
                         const NetworkModel* network)
    : options_(options), network_(network), endpoint_(options.hs3_port, options.bind_address),
      model_(std::move(state), options.model),
      sender_(endpoint_, options.faults, options.log ? std::move(log) : LogLine{})
{
    endpoint_.on_datagram([this](ByteView request) { on_request(request); });
}

std::string CommandFace::describe() const
{
    std::string text =
        "HS3 commands listening on " + options_.bind_address + ":" + std::to_string(port());
    if (options_.reply_to)
        return text + ", replies to " + options_.reply_to->host + ":" +
               std::to_string(options_.reply_to->port);
    if (options_.reply_to_server)
        return text + ", replies to the server IP and port set in the network module";
    return text + ", replies to the sender";
}

void CommandFace::on_request(ByteView request)
{
    const Peer from = endpoint_.received_from();
    Answer answer = model_.handle(request);
    sender_.log("<-", from, request,
                answer.understood ? answer.meaning : answer.meaning + ", ignored");
    if (answer.state_changed && state_changed_) state_changed_(model_.state());
    if (answer.replies.empty()) return;
    const std::optional<Peer> to = reply_target(from, endpoint_.received_at());
    if (!to) {
        sender_.log("x ", from, {}, "no network module to take the server address from");
        return;
    }
    sender_.send(std::move(answer.replies), *to);
}

std::optional<Peer> CommandFace::reply_target(const Peer& from, const Peer& at) const
{
    if (options_.reply_to) return Peer{options_.reply_to->host, options_.reply_to->port};
    if (!options_.reply_to_server) return from;
    // Looked up at each request, so a server address written through the network face counts
    // from the next request on, as on the real module.
    const ModuleSettings* module = network_ ? module_at(*network_, at.address) : nullptr;
    if (!module) return std::nullopt;
    return Peer{discovery::dotted(module->destination_ip, 0), module->destination_port};
}

} // namespace zk::sim
