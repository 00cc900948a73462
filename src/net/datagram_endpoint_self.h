#pragma once
// The endpoint's own datagrams, come back to it: a datagram sent to this PC's own address and
// the endpoint's own port loops back, and must never pass for an answer from a controller.
#include <chrono>
#include <string>
#include <vector>

namespace zk::detail {

class OwnDatagrams
{
public:
    // `bound` is the address the endpoint is bound to ("0.0.0.0" for all of them).
    explicit OwnDatagrams(std::string bound) : bound_(std::move(bound)) {}

    // True when the sender is this endpoint itself: its own port, and its own bound address or,
    // bound to all addresses, loopback or an address of this PC. No other socket can hold that
    // port there, since the endpoint binds it exclusively or on one address.
    bool is_own(const std::string& sender, int sender_port, int own_port);

private:
    bool is_local(const std::string& sender);

    std::string bound_;
    std::vector<std::string> local_; // this PC's addresses, as last asked for
    std::chrono::steady_clock::time_point asked_{};
};

} // namespace zk::detail
