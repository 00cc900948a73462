#pragma once
// A datagram a simulated face is about to send, with its delay and what it means for the log.
#include <string>

#include "base/bytes.h"

namespace zk::sim {

struct Outgoing
{
    Bytes datagram;
    int delay_ms = 0;    // after the request arrived
    std::string meaning; // for the log
    // The address it leaves from while this host has it (a module answering from its own
    // address through the face's one socket); empty: the system's choice.
    std::string from = {};
};

} // namespace zk::sim
