#pragma once
// A dispatcher whose clock the test moves: timers fire only in advance_to, in time order.
#include <chrono>
#include <map>

#include "net/dispatcher.h"

namespace zk::test {

class ManualDispatcher final : public Dispatcher
{
public:
    using Clock = std::chrono::steady_clock;

    void post(Work work) override { work(); }
    TimerId start_timer(std::chrono::milliseconds delay, Work work) override
    {
        timers_[next_] = {now + delay, std::move(work)};
        return next_++;
    }
    void cancel_timer(TimerId id) override { timers_.erase(id); }
    // Moves the clock to `to`, firing every timer due by then in order.
    void advance_to(Clock::time_point to)
    {
        for (auto due = first_due(to); due != timers_.end(); due = first_due(to)) {
            now = due->second.at;
            Work work = std::move(due->second.work);
            timers_.erase(due);
            work();
        }
        now = to;
    }
    std::size_t pending() const { return timers_.size(); }

    Clock::time_point now{};

private:
    struct Pending
    {
        Clock::time_point at;
        Work work;
    };
    std::map<TimerId, Pending>::iterator first_due(Clock::time_point to)
    {
        auto first = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->second.at <= to && (first == timers_.end() || it->second.at < first->second.at))
                first = it;
        }
        return first;
    }
    std::map<TimerId, Pending> timers_;
    TimerId next_ = 1;
};

} // namespace zk::test
