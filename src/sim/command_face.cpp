#include "sim/command_face.h"

#include <QTimer>

#include "protocol/hex.h"

namespace zk::sim {

namespace {

std::string hex(ByteView bytes)
{
    std::string text;
    for (std::uint8_t byte : bytes) {
        if (!text.empty()) text += ' ';
        text += protocol::byte_to_hex_pair(byte);
    }
    return text;
}

} // namespace

CommandFace::CommandFace(const CommandFaceOptions& options, ControllerState state, LogLine log)
    : options_(options), endpoint_(options.hs3_port, options.bind_address),
      model_(std::move(state), options.model), log_(std::move(log))
{
    endpoint_.on_datagram([this](ByteView request) { on_request(request); });
}

std::string CommandFace::describe() const
{
    std::string text = "HS3 commands on " + options_.bind_address + ":" + std::to_string(port());
    if (options_.reply_to)
        return text + ", replies to " + options_.reply_to->host + ":" +
               std::to_string(options_.reply_to->port);
    return text + ", replies to the sender";
}

void CommandFace::on_request(ByteView request)
{
    const Peer from = endpoint_.received_from();
    Answer answer = model_.handle(request);
    log("<-", from, request, answer.understood ? answer.meaning : answer.meaning + ", ignored");
    if (answer.state_changed && state_changed_) state_changed_(model_.state());

    const Peer to =
        options_.reply_to ? Peer{options_.reply_to->host, options_.reply_to->port} : from;
    const std::size_t made = answer.replies.size();
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::vector<Reply> replies =
        apply_faults(std::move(answer.replies), options_.faults, [&] { return uniform(random_); });
    const std::size_t kept = options_.faults.duplicate ? replies.size() / 2 : replies.size();
    if (kept < made) log("x ", to, {}, std::to_string(made - kept) + " reply(ies) lost");
    for (const Reply& reply : replies) {
        if (reply.delay_ms <= 0) {
            send_reply(reply, to);
            continue;
        }
        QTimer::singleShot(reply.delay_ms, &timers_, [this, reply, to] { send_reply(reply, to); });
    }
}

void CommandFace::send_reply(const Reply& reply, const Peer& to)
{
    const bool sent = endpoint_.send(to.address, to.port, reply.datagram);
    log("->", to, reply.datagram, sent ? reply.meaning : reply.meaning + ", send failed");
}

void CommandFace::log(std::string_view direction,
                      const Peer& peer,
                      ByteView bytes,
                      std::string_view meaning)
{
    if (!options_.log || !log_) return;
    std::string line = std::string(direction) + " " + peer.address + ":" +
                       std::to_string(peer.port) + "  " + hex(bytes);
    log_(line + "  (" + std::string(meaning) + ")");
}

} // namespace zk::sim
