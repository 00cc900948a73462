#pragma once
// Many controllers' command faces at once, through the one local port they all answer to: one
// request goes to every address, and each address waits for its own answer (from that address,
// answering that request), sent again to those still silent after the time-out. A school is read
// in the time of its slowest controller, not of all of them in turn.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/event_wait.h"
#include "cli/hs3_client.h"
#include "net/datagram_endpoint.h"
#include "protocol/replies.h"
#include "protocol/request.h"

namespace zk::cli {

class Hs3Batch
{
public:
    // Binds the target's local port (its host is not used); throws Exit (local error) when taken.
    Hs3Batch(const Hs3Target& ports, const Timing& timing);

    // Each address's answer to `request`, sending it up to 1 + retries times to those that have
    // not answered; an address missing from the result gave none.
    std::map<std::string, protocol::Reply> ask_all(const std::vector<std::string>& addresses,
                                                   const protocol::Request& request);

private:
    void on_datagram(ByteView datagram);

    DatagramEndpoint endpoint_;
    int remote_port_;
    Timing timing_;
    std::optional<protocol::Request> waiting_;
    std::map<std::string, std::optional<protocol::Reply>> answers_; // by address, while waiting
    std::size_t answered_ = 0;
};

} // namespace zk::cli
