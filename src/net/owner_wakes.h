#pragma once
// When the endpoint's reading thread wakes its owner for the datagrams it holds. A wake-up costs
// the reading thread a round trip to the system (under Wine, to its server) and then the processor
// the owner takes. Most datagrams come alone (an answer to a request, a request to a controller)
// and someone waits for each: they go at once. Datagrams the owner says come in bursts (search
// answers) are gathered: streaming in unasked they go at most once per hold time, and a burst
// not before it has been read, or once per longest hold if it goes on. The first of a burst,
// the answer to something just sent, waits a moment for the rest: it comes alone just before
// them, and drawing it then took the processor from the reads.
#include <chrono>
#include <optional>

namespace zk::detail {

class OwnerWakes
{
public:
    using Clock = std::chrono::steady_clock;
    // Shortest time between two wake-ups while datagrams keep coming unasked.
    static constexpr std::chrono::milliseconds hold_time{5};
    // How long the first answer of a burst to something just sent waits for the rest.
    static constexpr std::chrono::milliseconds reply_gather{2};
    // Longest a datagram is held while a burst goes on.
    static constexpr std::chrono::milliseconds longest_hold{100};

    // A datagram went into the inbox: `was_empty`, the inbox had nothing for the owner;
    // `awaited`, it may be the answer to something just sent; `of_a_burst`, the owner said
    // datagrams like it come in bursts.
    void arrived(Clock::time_point now, bool was_empty, bool awaited, bool of_a_burst);
    // When held datagrams are due, if any are.
    std::optional<Clock::time_point> due() const { return due_; }
    // After a pass of reads: whether the owner is to be woken now. `in_burst`: the pass found a
    // burst still coming in.
    bool wake_now(Clock::time_point now, bool in_burst) const;
    // The held datagrams went to the owner; `woken` when it was woken for them (not when it had
    // taken them already).
    void handed_over(Clock::time_point now, bool woken);

private:
    std::optional<Clock::time_point> due_;
    Clock::time_point held_since_{};
    Clock::time_point last_wake_{};
};

} // namespace zk::detail
