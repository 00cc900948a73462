#pragma once
// One controller's command face as request and answer: each request waits for a reply from the
// address asked that answers it, sends again when none comes within the time-out, and ignores
// everything else, late and repeated answers included.
#include <functional>
#include <optional>
#include <string>

#include "base/ports.h"
#include "cli/event_wait.h"
#include "net/datagram_endpoint.h"
#include "protocol/replies.h"
#include "protocol/request.h"

namespace zk::cli {

struct Hs3Target
{
    std::string host; // dotted IPv4 or a host name
    int remote_port = hs3_remote_port;
    int local_port = settings_local_port; // where the controller sends its answers
};

class Hs3Client
{
public:
    // Checks the host, then binds the local port; throws Exit (usage for a host that
    // checked_host refuses, local error for a taken port).
    Hs3Client(const Hs3Target& target, const Timing& timing);

    // The answer to this request, sending it up to 1 + retries times; nullopt when none came.
    std::optional<protocol::Reply> ask(const protocol::Request& request);

    // Sends once and hands every answer to `on_reply` until one after which no more follow;
    // false when no answer came within `step_timeout` of the previous one. For exchanges with
    // several answers (fingerprint enrolment), which a second request would start over.
    bool follow(const protocol::Request& request,
                milliseconds step_timeout,
                const std::function<void(const protocol::Reply&)>& on_reply);

    // The dotted address answers must come from.
    const std::string& address() const { return address_; }

private:
    void on_datagram(ByteView datagram);
    void start(const protocol::Request& request);
    void send(const protocol::Request& request);

    std::string address_;
    DatagramEndpoint endpoint_;
    int remote_port_;
    Timing timing_;
    std::optional<protocol::Request> waiting_; // set while a request waits
    std::vector<protocol::Reply> arrived_;     // answers to the request now waiting
};

// The dotted IPv4 address of the target's dotted text or host name; a usage error when it names
// none, or names this PC while zkctl holds the port a controller there would need.
std::string checked_host(const Hs3Target& target);

// Binds `port` or throws Exit with a message that names the port and its likely holder.
void require_bound(const DatagramEndpoint& endpoint, int port);

} // namespace zk::cli
