#pragma once
// Requests still waiting for their answer, keyed by the byte that pairs a request with its
// answers (an HS3 command byte, a configuration code). Nothing is ever re-sent: a wait that runs
// out only lets the window tell the operator. The caller supplies the time, so the rules here
// can be checked without a clock or an event loop.
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace zk {

class PendingRequests
{
public:
    using Time = std::chrono::milliseconds;

    struct Wait
    {
        std::uint8_t key = 0;
        Time deadline{};
        int note = 0; // the caller's own, handed back when the wait runs out
    };

    // Starts the wait for `key`, replacing one that is already running for it.
    void start(std::uint8_t key, Time deadline, int note = 0);
    // An answer for `key` arrived: its wait ends. False when none was running.
    bool answer(std::uint8_t key);
    // Removes and returns the waits whose deadline is not after `now`, earliest first.
    std::vector<Wait> expire(Time now);
    // The earliest deadline; nullopt when nothing waits.
    std::optional<Time> next_deadline() const;

private:
    std::vector<Wait> waits_;
};

} // namespace zk
