#include "sim/network_face.h"

#include <algorithm>

#include "base/ipv4_text.h"
#include "base/values.h"
#include "discovery/module_settings.h"

namespace zk::sim {

NetworkFace::NetworkFace(NetworkModel& model,
                         const NetworkFaceOptions& options,
                         const FaultOptions& faults,
                         LogLine log)
    : model_(model), options_(options), endpoint_(options.config_port),
      sender_(endpoint_, faults, std::move(log), options.rate)
{
    endpoint_.on_datagram([this](ByteView request) { answer(request, endpoint_.received_from()); });
    remember_addresses();
}

std::string NetworkFace::describe() const
{
    const std::size_t count = model_.modules.size();
    std::string text = std::to_string(count) + " network module" + (count == 1 ? "" : "s") +
                       " listening on 0.0.0.0:" + std::to_string(local_port());
    if (model_.strict_writes) text += ", refusing unsound writes";
    if (options_.reply_to_sender) return text + ", replies to the asker";
    return text + ", replies broadcast to port " + std::to_string(options_.pc_port);
}

void NetworkFace::remember_addresses()
{
    answering_from_.resize(model_.modules.size());
    for (std::size_t i = 0; i < answering_from_.size(); ++i)
        answering_from_[i] = ipv4_text(model_.modules[i].ip);
}

void NetworkFace::answer(ByteView request, const Peer& asker)
{
    ModelAnswer result = model_.handle(request);
    std::string meaning = config_meaning(request);
    if (!result.refusal.empty()) meaning += ", refused: " + result.refusal;
    sender_.log("<-", asker, request, result.replies.empty() ? meaning + ", ignored" : meaning);
    std::vector<Outgoing> replies;
    for (std::size_t i = 0; i < result.replies.size(); ++i) {
        Outgoing reply{std::move(result.replies[i]), 0, {}, {}};
        reply.meaning = config_meaning(reply.datagram);
        const std::size_t module = result.senders[i];
        if (module < answering_from_.size()) reply.from = answering_from_[module];
        replies.push_back(std::move(reply));
    }
    if (result.changed) {
        remember_addresses();
        if (on_change_) on_change_();
    }
    const Peer to = options_.reply_to_sender ? asker : Peer{"", options_.pc_port};
    sender_.send(std::move(replies), to);
}

namespace {

// One overload per message kind, so a new kind cannot go unnamed in the log.
struct Meaning
{
    std::string of;
    std::string operator()(const discovery::SearchRequest&) const { return "search"; }
    std::string operator()(const discovery::ReadRequest&) const
    {
        return "read configuration" + of;
    }
    std::string operator()(const discovery::WriteRequest&) const
    {
        return "write configuration" + of;
    }
    std::string operator()(const discovery::ResetRequest&) const { return "factory reset" + of; }
    std::string operator()(const discovery::SearchReply&) const { return "search reply" + of; }
    std::string operator()(const discovery::ConfigReply&) const { return "configuration" + of; }
    std::string operator()(const discovery::WriteAck&) const { return "write acknowledged" + of; }
    std::string operator()(const discovery::WriteRefused&) const { return "write refused" + of; }
    std::string operator()(const discovery::ResetAck&) const { return "factory reset done" + of; }
};

} // namespace

std::string config_meaning(ByteView datagram)
{
    if (!discovery::strictly_formed(datagram)) return "not a configuration datagram";
    if (const std::optional<discovery::Request> request = discovery::decode_request(datagram))
        return std::visit(Meaning{" of " + mac_text(discovery::mac_of(*request))}, *request);
    if (const std::optional<discovery::Reply> reply = discovery::decode_reply(datagram))
        return std::visit(Meaning{" of " + mac_text(discovery::mac_of(*reply))}, *reply);
    return "unknown configuration code";
}

} // namespace zk::sim
