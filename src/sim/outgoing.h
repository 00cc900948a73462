#pragma once
// A datagram a simulated face is about to send, with its delay and what it means for the log.
#include <string>

#include "runtime/bytes.h"

namespace zk::sim {

struct Outgoing
{
    Bytes datagram;
    int delay_ms = 0;    // after the request arrived
    std::string meaning; // for the log
};

} // namespace zk::sim
