#include "cli/config_client.h"

#include <algorithm>

#include "cli/hs3_client.h"
#include "cli/outcome.h"
#include "discovery/answer_rule.h"
#include "discovery/config_datagram.h"
#include "discovery/search_reply.h"

namespace zk::cli {

namespace {

// Reads in flight at once: a burst of broadcasts reaches every module of the segment.
constexpr std::size_t reads_at_once = 32;

} // namespace

ConfigClient::ConfigClient(const ConfigTarget& target, const Timing& timing)
    : endpoint_(target.local_port), remote_port_(target.remote_port), timing_(timing)
{
    require_bound(endpoint_, target.local_port);
    endpoint_.set_broadcast_interface(target.interface_index);
    endpoint_.gather_bursts(discovery::comes_in_bursts);
    endpoint_.on_datagram([this](ByteView datagram) { on_datagram(datagram); });
}

void ConfigClient::on_datagram(ByteView datagram)
{
    const std::optional<discovery::Reply> reply = discovery::decode_reply(datagram);
    if (!reply) return;
    using discovery::answers;
    if (searching_ && answers(*searching_, *reply)) {
        search_replies_.push_back(std::get<discovery::SearchReply>(*reply));
        return;
    }
    const discovery::Mac mac = discovery::mac_of(*reply);
    if (const auto wanted = blocks_.find(Bytes(mac.begin(), mac.end()));
        wanted != blocks_.end() && !wanted->second.second &&
        answers(wanted->second.first, *reply)) {
        wanted->second.second = std::get<discovery::ConfigReply>(*reply);
        return;
    }
    if (writing_ && !verdict_ && answers(*writing_, *reply))
        verdict_ = std::holds_alternative<discovery::WriteAck>(*reply) ? WriteResult::acknowledged
                                                                       : WriteResult::refused;
}

void ConfigClient::broadcast(ByteView datagram)
{
    if (!endpoint_.send("", remote_port_, datagram))
        throw Exit(exit_local_error, "cannot broadcast (is the adapter up?)");
}

std::vector<discovery::SearchReply> ConfigClient::search(int rounds)
{
    rounds = std::max(rounds, 1);
    search_replies_.clear();
    searching_ = discovery::SearchRequest{};
    const Clock::time_point start = Clock::now();
    for (int round = 1; round <= rounds; ++round) {
        broadcast(discovery::encode(*searching_));
        wait_until([] { return false; }, start + timing_.timeout * round / rounds);
    }
    searching_.reset();
    return std::move(search_replies_);
}

std::map<Bytes, discovery::ConfigReply> ConfigClient::read_blocks(const std::vector<Bytes>& macs)
{
    blocks_.clear();
    for (const Bytes& mac : macs)
        blocks_[mac].first = discovery::ReadRequest{discovery::mac_from(mac), {}};
    for (int attempt = 0; attempt <= timing_.retries; ++attempt) {
        std::vector<Bytes> missing;
        for (const auto& [mac, wanted] : blocks_)
            if (!wanted.second) missing.push_back(mac);
        for (std::size_t first = 0; first < missing.size(); first += reads_at_once) {
            const auto end = missing.begin() + static_cast<std::ptrdiff_t>(
                                                   std::min(first + reads_at_once, missing.size()));
            const std::vector<Bytes> batch(missing.begin() + static_cast<std::ptrdiff_t>(first),
                                           end);
            for (const Bytes& mac : batch)
                broadcast(discovery::encode(blocks_[mac].first));
            wait_until(
                [&] {
                    return std::all_of(batch.begin(), batch.end(), [&](const Bytes& mac) {
                        return blocks_[mac].second.has_value();
                    });
                },
                Clock::now() + timing_.timeout);
        }
    }
    std::map<Bytes, discovery::ConfigReply> answered;
    for (auto& [mac, wanted] : blocks_)
        if (wanted.second) answered.emplace(mac, std::move(*wanted.second));
    blocks_.clear();
    return answered;
}

WriteResult ConfigClient::write(const discovery::WriteRequest& request)
{
    writing_ = request;
    verdict_.reset();
    const Bytes datagram = discovery::encode(request);
    for (int attempt = 0; attempt <= timing_.retries && !verdict_; ++attempt) {
        broadcast(datagram);
        wait_until([this] { return verdict_.has_value(); }, Clock::now() + timing_.timeout);
    }
    writing_.reset();
    return verdict_.value_or(WriteResult::no_answer);
}

} // namespace zk::cli
