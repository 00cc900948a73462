#pragma once
// The settings window's send path: payloads become HS3 frames for the one controller chosen in
// the find window.
#include <cstdint>
#include <functional>
#include <string>

#include "runtime/bytes.h"
#include "runtime/sender.h"

namespace zk::protocol {

// Where frames go: the controller address (dotted or a host name) and its command port.
struct ControllerLink
{
    Sender& sender;
    std::string address;
    int port = 16006;
    // Told of every payload that went out, so the window can wait for its answer.
    std::function<void(ByteView payload)> on_sent = {};
};

enum class SendOutcome
{
    sent,
    payload_too_long, // over 252 bytes: nothing was sent
    send_failed,      // the endpoint refused (unresolvable name, port not bound, ...)
};

// Frames the payload and sends it to the controller.
SendOutcome send_request(const ControllerLink& link, ByteView payload);

// A negative value sends the 2-byte payload (command, operation), otherwise 3 bytes with the
// value's low eight bits.
SendOutcome send_short_command(const ControllerLink& link,
                               std::uint8_t command,
                               std::uint8_t operation,
                               int value);

} // namespace zk::protocol
