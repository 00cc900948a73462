#pragma once
// One controller's command face as request and answer: each request waits for the datagram
// that answers it (same sender, command, operation and sub-code), sends again when none comes
// within the time-out, and ignores everything else, late and repeated answers included.
#include <functional>
#include <optional>
#include <string>

#include "cli/event_wait.h"
#include "cli/reply_match.h"
#include "protocol/replies.h"
#include "runtime/datagram_endpoint.h"

namespace zk::cli {

struct Hs3Target
{
    std::string host; // dotted IPv4 or a host name
    int remote_port = 16006;
    int local_port = 16006; // where the controller sends its answers
};

class Hs3Client
{
public:
    // Binds the local port and resolves the host; throws Exit (local error for a taken port,
    // usage for a host that does not resolve).
    Hs3Client(const Hs3Target& target, const Timing& timing);

    // The answer to this request, sending it up to 1 + retries times; nullopt when none came.
    std::optional<protocol::Reply> ask(ByteView payload);

    // Sends once and hands every answer to `on_reply` until it returns false; false when no
    // answer came within `step_timeout` of the previous one. For exchanges with several answers
    // (fingerprint enrolment), which a second request would start over.
    bool follow(ByteView payload,
                milliseconds step_timeout,
                const std::function<bool(const protocol::Reply&)>& on_reply);

    // The dotted address answers must come from.
    const std::string& address() const { return address_; }

private:
    void on_datagram(ByteView datagram);
    void start(ByteView payload);
    void send(ByteView payload);

    DatagramEndpoint endpoint_;
    std::string address_;
    int remote_port_;
    Timing timing_;
    Waiter waiter_;
    std::optional<ReplyKey> key_;          // set while a request waits
    std::vector<protocol::Reply> arrived_; // answers to the request now waiting
};

// The dotted IPv4 address of a dotted text or host name; empty when it does not resolve.
std::string resolve_host(const std::string& host);

// Binds `port` or throws Exit with a message that names the port and its likely holder.
void require_bound(const DatagramEndpoint& endpoint, int port);

} // namespace zk::cli
