#pragma once
// A datagram a simulated face is about to send, with its delay and what it means for the log.
#include <memory>
#include <string>

#include "base/bytes.h"
#include "base/sender.h"

namespace zk::sim {

struct Outgoing
{
    Bytes datagram;
    int delay_ms = 0;    // after the request arrived
    std::string meaning; // for the log
    // The socket it leaves through when not the face's own (a module answering from its own
    // address); kept alive until the reply is sent.
    std::shared_ptr<Sender> via = nullptr;
};

} // namespace zk::sim
