#pragma once
// The controller's command face on the network: HS3 requests arrive at the endpoint, the model
// answers, and the replies leave after their delays with the configured faults applied.
#include <functional>
#include <string>

#include "runtime/datagram_endpoint.h"
#include "sim/controller_model.h"
#include "sim/network_module.h"
#include "sim/options.h"
#include "sim/reply_sender.h"

namespace zk::sim {

class CommandFace
{
public:
    using StateChanged = std::function<void(const ControllerState&)>;

    // Binds at once; check is_listening(). `log` receives one line per datagram when logging.
    // With reply_to_server, replies follow the destination of the modules in `network`, which
    // must then be given and outlive the face.
    CommandFace(const CommandFaceOptions& options,
                ControllerState state,
                LogLine log,
                const NetworkModel* network = nullptr);

    bool is_listening() const { return endpoint_.is_bound(); }
    int port() const { return endpoint_.local_port(); }
    // Called after every request that changed the state (to keep the state file current).
    void on_state_changed(StateChanged callback) { state_changed_ = std::move(callback); }
    const ControllerState& state() const { return model_.state(); }
    // "HS3 commands listening on 0.0.0.0:16006, replies to the sender" and the like.
    std::string describe() const;

private:
    void on_request(ByteView request);
    // Where the answers to this request go; nullopt when nowhere is configured.
    std::optional<Peer> reply_target(const Peer& from, const Peer& at) const;

    CommandFaceOptions options_;
    const NetworkModel* network_;
    DatagramEndpoint endpoint_;
    ControllerModel model_;
    ReplySender sender_;
    StateChanged state_changed_;
};

} // namespace zk::sim
