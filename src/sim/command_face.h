#pragma once
// The controllers' command face on the network: HS3 requests arrive at the endpoint, the model of
// the controller at the address asked answers, and the replies leave from that address after
// their delays with the configured faults applied.
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "net/datagram_endpoint.h"
#include "sim/controller_model.h"
#include "sim/network_module.h"
#include "sim/options.h"
#include "sim/reply_sender.h"
#include "sim/sim_state.h"

namespace zk::sim {

class CommandFace
{
public:
    using StateChanged = std::function<void(const ControllerState&)>;

    // Binds at once; check is_listening(). `log` receives one line per datagram when logging.
    // With `network`, which must then outlive the face, there is one controller per module,
    // answering at the module's address (from that address, where this host has it), and
    // `states` holds their command states by module position; a request to any other address
    // is not answered. Without it one controller, the first of `states`, answers at every
    // address. With reply_to_server, replies go to the server address of the module asked.
    CommandFace(const CommandFaceOptions& options,
                ControllerStates states,
                LogLine log,
                const NetworkModel* network = nullptr);
    // One controller starting from `state`.
    CommandFace(const CommandFaceOptions& options,
                const ControllerState& state,
                LogLine log,
                const NetworkModel* network = nullptr);

    bool is_listening() const { return endpoint_.is_bound(); }
    // Why it is not, in the system's words.
    const std::string& bind_error() const { return endpoint_.bind_error(); }
    int port() const { return endpoint_.local_port(); }
    // Called after every request that changed a controller's state, once its replies are on
    // their way (to keep the state file current).
    void on_state_changed(StateChanged callback) { state_changed_ = std::move(callback); }
    // The first controller's state.
    const ControllerState& state() const { return state_of(0); }
    // The state of the controller of module `index` (the defaults until it is written to).
    const ControllerState& state_of(std::size_t index) const;
    // Every controller whose state was ever touched, by module position.
    ControllerStates states() const;
    // "HS3 commands of 3 controllers listening on 0.0.0.0:16006, replies to the sender" and the
    // like.
    std::string describe() const;

private:
    void on_request(DatagramEndpoint& socket);
    // The position of the controller at `address`; nullopt when no simulated controller has it.
    std::optional<std::size_t> controller_at(const std::string& address) const;
    ControllerModel& controller(std::size_t index);
    // Where the answers of controller `index` go; nullopt when nowhere is configured.
    std::optional<Peer> reply_target(const Peer& from, std::size_t index) const;

    CommandFaceOptions options_;
    const NetworkModel* network_;
    DatagramEndpoint endpoint_;
    std::map<std::size_t, ControllerModel> controllers_; // made at their first request
    ReplySender sender_;
    StateChanged state_changed_;
};

} // namespace zk::sim
