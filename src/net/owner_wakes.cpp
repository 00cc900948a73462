#include "net/owner_wakes.h"

namespace zk::detail {

void OwnerWakes::arrived(Clock::time_point now, bool was_empty, bool awaited, bool of_a_burst)
{
    if (!of_a_burst) {
        // Held datagrams go with it; without any due, a wake-up is on its way for the inbox.
        if (!was_empty && !due_) return;
        if (!due_) held_since_ = now;
        due_ = now;
        return;
    }
    if (!was_empty && !awaited) return; // a wake-up is on its way or due already
    if (!due_) held_since_ = now;
    const Clock::time_point due = awaited                         ? now + reply_gather
                                  : now - last_wake_ >= hold_time ? now
                                                                  : last_wake_ + hold_time;
    if (!due_ || due < *due_) due_ = due;
}

bool OwnerWakes::wake_now(Clock::time_point now, bool in_burst) const
{
    if (!due_ || now < *due_) return false;
    return !in_burst || now - held_since_ >= longest_hold;
}

void OwnerWakes::handed_over(Clock::time_point now, bool woken)
{
    due_.reset();
    if (woken) last_wake_ = now;
}

} // namespace zk::detail
