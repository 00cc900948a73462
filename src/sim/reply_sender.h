#pragma once
// What both faces of the simulator do with their answers: commit the configured faults, send
// each reply after its delay, and log every datagram in and out.
#include <functional>
#include <list>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "net/datagram_endpoint.h"
#include "sim/faults.h"
#include "sim/outgoing.h"
#include "sim/pacer.h"

namespace zk::sim {

// Receives one finished log line; an empty function keeps the face silent.
using LogLine = std::function<void(std::string_view)>;

class ReplySender
{
public:
    // `endpoint` must outlive the sender; replies pending when it goes are dropped. `rate` paces
    // the replies, that many per second (0: each as soon as it is due).
    ReplySender(DatagramEndpoint& endpoint, const FaultOptions& faults, LogLine log, int rate = 0);

    // Applies the faults and sends what is left to `to` (an empty address: broadcast).
    void send(std::vector<Outgoing> replies, const Peer& to);
    // "<- 127.0.0.1:5000  48 53 33 ...  (meaning)"; `direction` is "<-", "->" or "x ".
    void
    log(std::string_view direction, const Peer& peer, ByteView bytes, std::string_view meaning);

private:
    void send_now(const Outgoing& reply, const Peer& to);
    // Replies due at once from the face's own endpoint, handed to it together: thousands of
    // modules answer a search at the same moment.
    void send_together(const std::vector<Outgoing>& replies, const Peer& to);

    DatagramEndpoint& endpoint_;
    FaultOptions faults_;
    LogLine log_;
    std::mt19937 random_;
    std::list<Timer> delayed_; // pending delayed replies; they die with the sender
    Pacer pacer_;
};

// "255.255.255.255" for the broadcast peer, the address otherwise.
std::string peer_text(const Peer& peer);

} // namespace zk::sim
