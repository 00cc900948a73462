#pragma once
// The endpoint's own datagrams, come back to it: a datagram sent to this PC's own address and
// the endpoint's own port loops back, and must never pass for an answer from a controller. And
// which addresses this PC has, for both that and the addresses sends may leave from.
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
    // Whether `address` is loopback or an interface of this PC has it, as the system listed them at
    // most a second ago when it is not among them: an address the PC has just been given counts
    // from then on, and a stream of addresses it does not have asks the system once a second, not
    // each time.
    bool is_local(const std::string& address);

private:
    std::string bound_;
    std::vector<std::string> local_; // this PC's addresses, as last asked for
    std::chrono::steady_clock::time_point asked_{};
};

} // namespace zk::detail
