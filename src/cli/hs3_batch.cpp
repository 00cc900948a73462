#include "cli/hs3_batch.h"

#include "cli/outcome.h"
#include "protocol/answer_rule.h"
#include "protocol/hs3_frame.h"

namespace zk::cli {

Hs3Batch::Hs3Batch(const Hs3Target& ports, const Timing& timing)
    : endpoint_(ports.local_port), remote_port_(ports.remote_port), timing_(timing)
{
    require_bound(endpoint_, ports.local_port);
    endpoint_.on_datagram([this](ByteView datagram) { on_datagram(datagram); });
}

void Hs3Batch::on_datagram(ByteView datagram)
{
    if (!waiting_) return;
    const auto waiting = answers_.find(endpoint_.received_from().address);
    if (waiting == answers_.end() || waiting->second) return; // a stranger, or answered already
    std::optional<protocol::Reply> reply = protocol::decode_reply(datagram);
    if (!reply || !protocol::answers(*waiting_, *reply)) return;
    waiting->second = std::move(reply);
    ++answered_;
}

std::map<std::string, protocol::Reply> Hs3Batch::ask_all(const std::vector<std::string>& addresses,
                                                         const protocol::Request& request)
{
    // Anything already waiting cannot answer a request that has not gone out yet.
    waiting_.reset();
    pump_events();
    answers_.clear();
    for (const std::string& address : addresses)
        answers_.emplace(address, std::nullopt);
    answered_ = 0;
    waiting_ = request;
    const std::optional<Bytes> frame = protocol::wrap_frame(protocol::encode_request(request));
    if (!frame) refuse_input("the request is too long for one frame");
    for (int attempt = 1; attempt <= 1 + timing_.retries && answered_ < answers_.size();
         ++attempt) {
        for (const auto& [address, answer] : answers_) {
            if (!answer) endpoint_.send(address, remote_port_, *frame);
        }
        wait_until([this] { return answered_ == answers_.size(); }, Clock::now() + timing_.timeout);
    }
    waiting_.reset();
    std::map<std::string, protocol::Reply> replies;
    for (auto& [address, answer] : answers_) {
        if (answer) replies.emplace(address, std::move(*answer));
    }
    return replies;
}

} // namespace zk::cli
