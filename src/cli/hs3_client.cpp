#include "cli/hs3_client.h"

#include "cli/outcome.h"
#include "protocol/hs3_frame.h"
#include "runtime/host_addresses.h"
#include "runtime/ipv4_text.h"

namespace zk::cli {

std::string checked_host(const Hs3Target& target)
{
    if (target.host.empty()) refuse_input("--host: the controller's address is missing");
    const std::string address = resolve_ipv4(target.host);
    if (address.empty() && looks_numeric(target.host))
        refuse_input("--host: \"" + target.host +
                     "\" is not an IPv4 address (four numbers 0-255, like 192.168.1.20)");
    if (address.empty())
        refuse_input("--host: \"" + target.host + "\" is not an IPv4 address or known host name");
    // Only this program could answer at this PC's address on the port it holds itself.
    if (target.remote_port == target.local_port && is_this_pc(address))
        refuse_input("--host: " + target.host +
                     " is this PC; a controller has an address of its own");
    return address;
}

void require_bound(const DatagramEndpoint& endpoint, int port)
{
    if (endpoint.is_bound()) return;
    throw Exit(exit_local_error, "UDP port " + std::to_string(port) +
                                     " is taken by another program (another zkconfig, zkctl or "
                                     "zksim?); close it and try again");
}

Hs3Client::Hs3Client(const Hs3Target& target, const Timing& timing)
    : address_(checked_host(target)), endpoint_(target.local_port),
      remote_port_(target.remote_port), timing_(timing)
{
    require_bound(endpoint_, target.local_port);
    endpoint_.on_datagram([this](ByteView datagram) { on_datagram(datagram); });
}

void Hs3Client::on_datagram(ByteView datagram)
{
    if (!key_ || endpoint_.received_from().address != address_ || !carries(datagram, *key_)) return;
    std::optional<protocol::Reply> reply = protocol::decode_reply(datagram);
    if (!reply) return;
    arrived_.push_back(std::move(*reply));
    waiter_.wake();
}

void Hs3Client::start(ByteView payload)
{
    // Anything already waiting cannot answer a request that has not gone out yet.
    key_.reset();
    Waiter::pump();
    key_ = expected_reply(payload);
    if (!key_) refuse_input("internal: a request without command and operation");
    arrived_.clear();
}

void Hs3Client::send(ByteView payload)
{
    const std::optional<Bytes> frame = protocol::wrap_frame(payload);
    if (!frame) refuse_input("the request is too long for one frame");
    if (!endpoint_.send(address_, remote_port_, *frame))
        throw Exit(exit_local_error, "cannot send to " + address_ + " (no route to it?)");
}

std::optional<protocol::Reply> Hs3Client::ask(ByteView payload)
{
    start(payload);
    const auto answered = [this] { return !arrived_.empty(); };
    const Clock::time_point first_send = Clock::now();
    for (int attempt = 1; attempt <= 1 + timing_.retries; ++attempt) {
        const Clock::time_point last_send = Clock::now();
        send(payload);
        if (!waiter_.wait_until(answered, last_send + timing_.timeout)) continue;
        protocol::Reply reply = arrived_.front();
        // The answer may belong to any attempt, so every later attempt may still be answered,
        // as late as this one was. Those answers are let in and dropped here: the next request
        // (whose answer may look the same) must not take one of them for its own.
        if (attempt > 1) {
            const Clock::duration latency = Clock::now() - first_send;
            waiter_.wait_until([] { return false; }, last_send + latency + timing_.timeout / 2);
        }
        key_.reset();
        return reply;
    }
    key_.reset();
    return std::nullopt;
}

bool Hs3Client::follow(ByteView payload,
                       milliseconds step_timeout,
                       const std::function<bool(const protocol::Reply&)>& on_reply)
{
    start(payload);
    send(payload);
    std::size_t seen = 0;
    while (
        waiter_.wait_until([&] { return arrived_.size() > seen; }, Clock::now() + step_timeout)) {
        if (!on_reply(arrived_[seen++])) {
            key_.reset();
            return true;
        }
    }
    key_.reset();
    return false;
}

} // namespace zk::cli
