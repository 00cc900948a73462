#include "sim/network_face.h"

#include <algorithm>

#include "base/values.h"
#include "discovery/config_datagram.h"

namespace zk::sim {

using discovery::ConfigCode;

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
        answering_from_[i] = discovery::dotted(model_.modules[i].ip, 0);
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

std::string config_meaning(ByteView datagram)
{
    const std::string_view flag = discovery::config_flag;
    const std::size_t mac_end = discovery::offset::mac + 6;
    if (datagram.size() != std::max(discovery::config_length, mac_end) ||
        !std::equal(flag.begin(), flag.end(), datagram.begin()) || datagram[flag.size()] != 0)
        return "not a configuration datagram";
    Mac mac{};
    std::copy_n(datagram.begin() + discovery::offset::mac, 6, mac.begin());
    const std::string of = " of " + mac_text(mac);
    switch (static_cast<ConfigCode>(datagram[discovery::offset::code])) {
    case ConfigCode::search_request:
        return "search";
    case ConfigCode::read_request:
        return "read configuration" + of;
    case ConfigCode::write_request:
        return "write configuration" + of;
    case ConfigCode::search_reply:
        return "search reply" + of;
    case ConfigCode::config_reply:
        return "configuration" + of;
    case ConfigCode::reset_request:
        return "factory reset" + of;
    case ConfigCode::write_ack:
        return "write acknowledged" + of;
    case ConfigCode::reset_ack:
        return "factory reset done" + of;
    case ConfigCode::write_refused:
        return "write refused" + of;
    }
    return "unknown configuration code";
}

} // namespace zk::sim
