#include "cli/hs3_client.h"

#include <algorithm>

#include "base/ipv4_text.h"
#include "cli/outcome.h"
#include "net/host_addresses.h"
#include "protocol/answer_rule.h"
#include "protocol/send_path.h"

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
                                     "zksim?); close it and try again (the system says: " +
                                     endpoint.bind_error() + ")");
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
    if (!waiting_ || endpoint_.received_from().address != address_) return;
    std::optional<protocol::Reply> reply = protocol::decode_reply(datagram);
    if (!reply || !protocol::answers(*waiting_, *reply)) return;
    arrived_.push_back(std::move(*reply));
}

void Hs3Client::start(const protocol::Request& request)
{
    // Anything already waiting cannot answer a request that has not gone out yet.
    waiting_.reset();
    pump_events();
    waiting_ = request;
    arrived_.clear();
}

void Hs3Client::send(const protocol::Request& request)
{
    switch (protocol::send_request({endpoint_, address_, remote_port_}, request)) {
    case protocol::SendOutcome::sent:
        return;
    case protocol::SendOutcome::payload_too_long:
        refuse_input("the request is too long for one frame");
    case protocol::SendOutcome::send_failed:
        break;
    }
    throw Exit(exit_local_error, "cannot send to " + address_ + " (no route to it?)");
}

std::optional<protocol::Reply> Hs3Client::ask(const protocol::Request& request)
{
    start(request);
    const auto answered = [this] { return !arrived_.empty(); };
    // A card at the reader takes as long here as in the settings window, whatever --timeout says.
    const milliseconds wait =
        protocol::waits_for_a_person(request)
            ? std::max(timing_.timeout,
                       std::chrono::duration_cast<milliseconds>(protocol::answer_wait(request)))
            : timing_.timeout;
    const Clock::time_point first_send = Clock::now();
    for (int attempt = 1; attempt <= 1 + timing_.retries; ++attempt) {
        const Clock::time_point last_send = Clock::now();
        send(request);
        if (!wait_until(answered, last_send + wait)) continue;
        protocol::Reply reply = arrived_.front();
        // The answer may belong to any attempt, so every later attempt may still be answered,
        // as late as this one was. Those answers are let in and dropped here: the next request
        // (whose answer may look the same) must not take one of them for its own.
        if (attempt > 1) {
            const Clock::duration latency = Clock::now() - first_send;
            wait_until([] { return false; }, last_send + latency + wait / 2);
        }
        waiting_.reset();
        return reply;
    }
    waiting_.reset();
    return std::nullopt;
}

bool Hs3Client::follow(const protocol::Request& request,
                       milliseconds step_timeout,
                       const std::function<void(const protocol::Reply&)>& on_reply)
{
    start(request);
    send(request);
    std::size_t seen = 0;
    while (wait_until([&] { return arrived_.size() > seen; }, Clock::now() + step_timeout)) {
        const protocol::Reply& reply = arrived_[seen++];
        on_reply(reply);
        if (!protocol::more_answers_follow(reply)) {
            waiting_.reset();
            return true;
        }
    }
    waiting_.reset();
    return false;
}

} // namespace zk::cli
