#pragma once
// Spreads sends over time at a fixed number per second, as answers arrive on a segment of
// limited speed rather than all at once.
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>

#include "net/dispatcher.h"

namespace zk::sim {

// How many of a paced run should have gone out `elapsed_ns` after it began at `rate` per second:
// the first at once, then one every 1/rate seconds.
std::int64_t due_by(std::int64_t elapsed_ns, int rate);

class Pacer
{
public:
    using Send = std::function<void()>;

    // `rate` sends per second; 0 or less sends at once.
    explicit Pacer(int rate);

    // Sends now, or queues it behind the others when paced. A run begins when the queue is empty.
    void push(Send send);
    // False when every send goes at once.
    bool paces() const { return rate_ > 0; }

private:
    void send_due();

    int rate_;
    std::deque<Send> queue_;
    std::chrono::steady_clock::time_point run_start_;
    std::int64_t sent_in_run_ = 0;
    Timer timer_; // on the thread's dispatcher
};

} // namespace zk::sim
