#include "sim/reply_sender.h"

#include "base/values.h"

namespace zk::sim {

namespace {

// Every byte in hex, except that a long run of zeros at the end (most of a configuration
// datagram) is counted rather than printed.
std::string hex(ByteView bytes)
{
    std::size_t shown = bytes.size();
    while (shown > 0 && bytes[shown - 1] == 0)
        --shown;
    const std::size_t zeros = bytes.size() - shown;
    if (zeros < 8) shown = bytes.size();
    std::string text = hex_bytes_text(bytes.first(shown));
    if (shown < bytes.size()) {
        if (shown) text += ' ';
        text += "00 x ";
        text += std::to_string(zeros);
    }
    return text;
}

std::mt19937 engine(const FaultOptions& faults)
{
    return std::mt19937(faults.seed ? *faults.seed : std::random_device{}());
}

} // namespace

std::string peer_text(const Peer& peer)
{
    const std::string address = peer.address.empty() ? "255.255.255.255" : peer.address;
    return address + ":" + std::to_string(peer.port);
}

ReplySender::ReplySender(DatagramEndpoint& endpoint,
                         const FaultOptions& faults,
                         LogLine log,
                         int rate)
    : endpoint_(endpoint), faults_(faults), log_(std::move(log)), random_(engine(faults)),
      pacer_(rate)
{}

void ReplySender::send(std::vector<Outgoing> replies, const Peer& to)
{
    const std::size_t made = replies.size();
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    replies = apply_faults(std::move(replies), faults_, [&] { return uniform(random_); });
    const std::size_t kept = faults_.duplicate ? replies.size() / 2 : replies.size();
    if (kept < made) log("x ", to, {}, std::to_string(made - kept) + " reply(ies) lost");
    std::vector<Outgoing> at_once;
    for (Outgoing& reply : replies) {
        if (reply.delay_ms <= 0 && !pacer_.paces()) {
            at_once.push_back(std::move(reply));
            continue;
        }
        auto paced = [this, reply, to] { pacer_.push([this, reply, to] { send_now(reply, to); }); };
        if (reply.delay_ms <= 0) {
            paced();
            continue;
        }
        Timer& timer = delayed_.emplace_back();
        timer.start(std::chrono::milliseconds(reply.delay_ms),
                    [this, paced, at = std::prev(delayed_.end())] {
                        delayed_.erase(at); // no longer pending; safe while it runs this
                        paced();
                    });
    }
    send_together(at_once, to);
}

void ReplySender::send_together(const std::vector<Outgoing>& replies, const Peer& to)
{
    // One hand-over to the socket per run of replies from one address.
    for (std::size_t first = 0; first < replies.size();) {
        std::vector<ByteView> datagrams;
        std::size_t end = first;
        for (; end < replies.size() && replies[end].from == replies[first].from; ++end)
            datagrams.emplace_back(replies[end].datagram);
        const std::vector<bool> sent =
            endpoint_.send_all(to.address, to.port, datagrams, replies[first].from);
        for (std::size_t i = first; i < end; ++i)
            log("->", to, replies[i].datagram,
                sent[i - first] ? replies[i].meaning : replies[i].meaning + ", send failed");
        first = end;
    }
}

void ReplySender::send_now(const Outgoing& reply, const Peer& to)
{
    const ByteView one[] = {reply.datagram};
    const bool sent = endpoint_.send_all(to.address, to.port, one, reply.from).front();
    log("->", to, reply.datagram, sent ? reply.meaning : reply.meaning + ", send failed");
}

void ReplySender::log(std::string_view direction,
                      const Peer& peer,
                      ByteView bytes,
                      std::string_view meaning)
{
    if (!log_) return;
    const std::string line = std::string(direction) + " " + peer_text(peer) + "  " + hex(bytes);
    log_(line + "  (" + std::string(meaning) + ")");
}

} // namespace zk::sim
