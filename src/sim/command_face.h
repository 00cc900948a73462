#pragma once
// The controller's command face on the network: HS3 requests arrive at the endpoint, the model
// answers, and the replies leave after their delays with the configured faults applied.
#include <QObject>
#include <functional>
#include <random>
#include <string>
#include <string_view>

#include "runtime/datagram_endpoint.h"
#include "sim/controller_model.h"
#include "sim/options.h"

namespace zk::sim {

class CommandFace
{
public:
    using LogLine = std::function<void(std::string_view)>;
    using StateChanged = std::function<void(const ControllerState&)>;

    // Binds at once; check is_listening(). `log` receives one line per datagram when logging.
    CommandFace(const CommandFaceOptions& options, ControllerState state, LogLine log);

    bool is_listening() const { return endpoint_.is_bound(); }
    int port() const { return endpoint_.local_port(); }
    // Called after every request that changed the state (to keep the state file current).
    void on_state_changed(StateChanged callback) { state_changed_ = std::move(callback); }
    const ControllerState& state() const { return model_.state(); }
    // "HS3 commands on 0.0.0.0:16006, replies to the sender" and the like.
    std::string describe() const;

private:
    void on_request(ByteView request);
    void send_reply(const Reply& reply, const Peer& to);
    void
    log(std::string_view direction, const Peer& peer, ByteView bytes, std::string_view meaning);

    CommandFaceOptions options_;
    DatagramEndpoint endpoint_;
    ControllerModel model_;
    LogLine log_;
    StateChanged state_changed_;
    std::mt19937 random_{std::random_device{}()};
    QObject timers_; // owns pending delayed replies; they die with the face
};

} // namespace zk::sim
