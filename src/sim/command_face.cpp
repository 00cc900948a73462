#include "sim/command_face.h"

#include "base/ipv4_text.h"

namespace zk::sim {

CommandFace::CommandFace(const CommandFaceOptions& options,
                         ControllerStates states,
                         LogLine log,
                         const NetworkModel* network)
    : options_(options), network_(network), endpoint_(options.hs3_port, options.bind_address),
      sender_(endpoint_, options.faults, options.log ? std::move(log) : LogLine{})
{
    for (auto& [index, state] : states)
        controllers_.emplace(index, ControllerModel(std::move(state), options.model));
    endpoint_.on_datagram([this](ByteView) { on_request(endpoint_); });
}

CommandFace::CommandFace(const CommandFaceOptions& options,
                         const ControllerState& state,
                         LogLine log,
                         const NetworkModel* network)
    : CommandFace(options, ControllerStates{{0, state}}, std::move(log), network)
{}

const ControllerState& CommandFace::state_of(std::size_t index) const
{
    static const ControllerState defaults;
    const auto found = controllers_.find(index);
    return found == controllers_.end() ? defaults : found->second.state();
}

ControllerStates CommandFace::states() const
{
    ControllerStates states;
    for (const auto& [index, model] : controllers_)
        states.emplace(index, model.state());
    return states;
}

std::string CommandFace::describe() const
{
    std::string text = "HS3 commands";
    if (network_) {
        const std::size_t count = network_->modules.size();
        text += " of " + std::to_string(count) + " controller" + (count == 1 ? "" : "s");
    }
    text += " listening on " + options_.bind_address + ":" + std::to_string(port());
    if (network_ && options_.bind_address == "0.0.0.0")
        text += ", each answering from its address where this host has it";
    if (options_.reply_to)
        return text + ", replies to " + options_.reply_to->host + ":" +
               std::to_string(options_.reply_to->port);
    if (options_.reply_to_server)
        return text + ", replies to the server IP and port set in each network module";
    return text + ", replies to the sender";
}

void CommandFace::on_request(DatagramEndpoint& socket)
{
    const ByteView request = socket.received();
    const Peer from = socket.received_from();
    const Peer at = socket.received_at();
    const std::optional<std::size_t> index = controller_at(at.address);
    if (!index) {
        sender_.log("<-", from, request,
                    "sent to " + at.address + ", where no simulated controller is, ignored");
        return;
    }
    ControllerModel& model = controller(*index);
    Answer answer = model.handle(request);
    std::string meaning = answer.understood ? answer.meaning : answer.meaning + ", ignored";
    if (network_) meaning += ", at " + at.address;
    sender_.log("<-", from, request, meaning);
    const std::optional<Peer> to = reply_target(from, *index);
    if (!answer.replies.empty() && !to)
        sender_.log("x ", from, {}, "no network module to take the server address from");
    if (!answer.replies.empty() && to) {
        // From the address asked, which is the controller's: a tool takes no answer from
        // another. A face bound to one address answers from it anyway.
        if (network_)
            for (Outgoing& reply : answer.replies)
                reply.from = at.address;
        sender_.send(std::move(answer.replies), *to);
    }
    // Answer first: saving the state of many controllers takes longer than a tool waits.
    if (answer.state_changed && state_changed_) state_changed_(model.state());
}

std::optional<std::size_t> CommandFace::controller_at(const std::string& address) const
{
    if (!network_) return 0;
    const std::optional<Ipv4> ip = parse_dotted_ipv4(address);
    if (!ip) return std::nullopt;
    for (std::size_t i = 0; i < network_->modules.size(); ++i) {
        if (network_->modules[i].ip == *ip) return i;
    }
    return std::nullopt;
}

ControllerModel& CommandFace::controller(std::size_t index)
{
    auto found = controllers_.find(index);
    if (found == controllers_.end())
        found =
            controllers_.emplace(index, ControllerModel(ControllerState{}, options_.model)).first;
    return found->second;
}

std::optional<Peer> CommandFace::reply_target(const Peer& from, std::size_t index) const
{
    if (options_.reply_to) return Peer{options_.reply_to->host, options_.reply_to->port};
    if (!options_.reply_to_server) return from;
    // Looked up at each request, so a server address written through the network face counts
    // from the next request on, as on the real module.
    if (!network_ || index >= network_->modules.size()) return std::nullopt;
    const ModuleSettings& module = network_->modules[index];
    return Peer{ipv4_text(module.destination_ip), module.destination_port};
}

} // namespace zk::sim
