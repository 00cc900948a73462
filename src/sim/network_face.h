#pragma once
// zksim's network-module face: the module model behind a datagram endpoint on the configuration
// port, answering by broadcast to the PC's port as real modules do, or to the asker. A module
// whose address exists on this host answers from that address, through the face's one socket:
// what a module costs does not grow with their number.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "net/datagram_endpoint.h"
#include "sim/faults.h"
#include "sim/network_module.h"
#include "sim/options.h"
#include "sim/reply_sender.h"

namespace zk::sim {

class NetworkFace
{
public:
    // Binds the configuration port on every address at once (broadcasts reach only such a
    // socket); `model` must outlive the face. `log` gets one line per datagram when given.
    NetworkFace(NetworkModel& model,
                const NetworkFaceOptions& options,
                const FaultOptions& faults = {},
                LogLine log = {});

    bool is_bound() const { return endpoint_.is_bound(); }
    // Why it is not, in the system's words.
    const std::string& bind_error() const { return endpoint_.bind_error(); }
    int local_port() const { return endpoint_.local_port(); }
    // Called after a write changed the model, so the program can keep its state file current.
    void on_change(std::function<void()> handler) { on_change_ = std::move(handler); }
    // "3 network modules listening on 0.0.0.0:50000, replies broadcast to port 60000" and the like.
    std::string describe() const;

private:
    void answer(ByteView request, const Peer& asker);
    void remember_addresses();

    NetworkModel& model_;
    NetworkFaceOptions options_;
    // Each module's address before the request being answered: a write's answer still leaves
    // from the address the request reached, and the new settings apply after it.
    std::vector<std::string> answering_from_;
    DatagramEndpoint endpoint_;
    ReplySender sender_;
    std::function<void()> on_change_;
};

// What a configuration datagram is, for the log: "search", "read configuration of 84:C2:...".
std::string config_meaning(ByteView datagram);

} // namespace zk::sim
