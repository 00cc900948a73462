#include "cli/config_client.h"

#include <algorithm>

#include "cli/hs3_client.h"
#include "cli/outcome.h"
#include "discovery/config_datagram.h"

namespace zk::cli {

namespace {

using discovery::ConfigCode;

// Reads in flight at once: a burst of broadcasts reaches every module of the segment.
constexpr std::size_t reads_at_once = 32;

bool has_code(std::uint8_t code, ConfigCode wanted)
{
    return code == static_cast<std::uint8_t>(wanted);
}

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
    const std::optional<std::uint8_t> code = discovery::accepted_code(datagram);
    if (!code) return;
    const Bytes mac = discovery::mac_at(datagram);
    if (has_code(*code, ConfigCode::search_reply) && searching_) {
        search_replies_.emplace_back(datagram.begin(), datagram.end());
    } else if (has_code(*code, ConfigCode::config_reply)) {
        const auto wanted = blocks_.find(mac);
        if (wanted != blocks_.end() && wanted->second.empty())
            wanted->second.assign(datagram.begin(), datagram.end());
    } else if (mac == writing_to_ && !verdict_) {
        if (has_code(*code, ConfigCode::write_ack)) verdict_ = WriteResult::acknowledged;
        if (has_code(*code, ConfigCode::write_refused)) verdict_ = WriteResult::refused;
    }
}

void ConfigClient::broadcast(ByteView datagram)
{
    if (!endpoint_.send("", remote_port_, datagram))
        throw Exit(exit_local_error, "cannot broadcast (is the adapter up?)");
}

std::vector<Bytes> ConfigClient::search(int rounds)
{
    rounds = std::max(rounds, 1);
    search_replies_.clear();
    searching_ = true;
    const Clock::time_point start = Clock::now();
    for (int round = 1; round <= rounds; ++round) {
        broadcast(discovery::search_request());
        wait_until([] { return false; }, start + timing_.timeout * round / rounds);
    }
    searching_ = false;
    return std::move(search_replies_);
}

std::map<Bytes, Bytes> ConfigClient::read_blocks(const std::vector<Bytes>& macs)
{
    blocks_.clear();
    for (const Bytes& mac : macs)
        blocks_[mac];
    for (int attempt = 0; attempt <= timing_.retries; ++attempt) {
        std::vector<Bytes> missing;
        for (const auto& [mac, block] : blocks_)
            if (block.empty()) missing.push_back(mac);
        for (std::size_t first = 0; first < missing.size(); first += reads_at_once) {
            const auto end = missing.begin() + static_cast<std::ptrdiff_t>(
                                                   std::min(first + reads_at_once, missing.size()));
            const std::vector<Bytes> batch(missing.begin() + static_cast<std::ptrdiff_t>(first),
                                           end);
            for (const Bytes& mac : batch)
                broadcast(discovery::read_request(mac));
            wait_until(
                [&] {
                    return std::all_of(batch.begin(), batch.end(),
                                       [&](const Bytes& mac) { return !blocks_[mac].empty(); });
                },
                Clock::now() + timing_.timeout);
        }
    }
    std::map<Bytes, Bytes> answered;
    for (auto& [mac, block] : blocks_)
        if (!block.empty()) answered.emplace(mac, std::move(block));
    blocks_.clear();
    return answered;
}

WriteResult ConfigClient::write(ByteView mac, ByteView request)
{
    writing_to_.assign(mac.begin(), mac.end());
    verdict_.reset();
    for (int attempt = 0; attempt <= timing_.retries && !verdict_; ++attempt) {
        broadcast(request);
        wait_until([this] { return verdict_.has_value(); }, Clock::now() + timing_.timeout);
    }
    writing_to_.clear();
    return verdict_.value_or(WriteResult::no_answer);
}

} // namespace zk::cli
