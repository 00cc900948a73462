#pragma once
// The event loop of the programs without windows (zkctl, zksim) and of the tests: posted work
// and timers, run on the thread that made the loop, which sleeps while there is nothing to do.
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>

#include "net/dispatcher.h"

namespace zk {

class EventLoop final : public Dispatcher
{
public:
    using Clock = std::chrono::steady_clock;

    // Installs itself for the calling thread until destroyed.
    EventLoop();
    ~EventLoop() override;
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    void post(Work work) override;
    TimerId start_timer(std::chrono::milliseconds delay, Work work) override;
    void cancel_timer(TimerId id) override;

    // Runs until quit(); its status.
    int run();
    // Runs until `done` holds (checked first and after each piece of work) or `deadline`
    // passes; done()'s last answer.
    bool run_until(const std::function<bool()>& done, Clock::time_point deadline);
    // Runs everything already posted and every timer already due, without waiting.
    void run_pending();
    // Ends run(); callable from any thread (a console's Ctrl-C handler runs on its own).
    void quit(int status = 0);

private:
    // Runs one posted piece of work or due timer; false when there was none.
    bool run_one();
    // Sleeps until work is posted, a timer is due, or `until`.
    void sleep(std::optional<Clock::time_point> until);

    Dispatcher* previous_;
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<Work> queue_;                        // guarded by mutex_
    std::optional<int> quit_status_;                // guarded by mutex_
    std::multimap<Clock::time_point, TimerId> due_; // the loop's thread only, from here on
    std::map<TimerId, Work> timers_;
    TimerId next_id_ = 1;
};

} // namespace zk
