#pragma once
// The settings window's send path: requests become HS3 frames for the one controller chosen in
// the find window.
#include <functional>
#include <string>

#include "base/ports.h"
#include "base/sender.h"
#include "protocol/request.h"

namespace zk::protocol {

// Where frames go: the controller address (dotted or a host name) and its command port.
struct ControllerLink
{
    Sender& sender;
    std::string address;
    int port = hs3_remote_port;
    // Told of every request that went out, so the window can wait for its answer.
    std::function<void(const Request& request)> on_sent = {};
};

enum class SendOutcome
{
    sent,
    payload_too_long, // over 252 bytes: nothing was sent
    send_failed,      // the endpoint refused (unresolvable name, port not bound, ...)
};

// Encodes the request, frames it and sends it to the controller.
SendOutcome send_request(const ControllerLink& link, const Request& request);

} // namespace zk::protocol
