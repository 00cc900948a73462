#include "net/event_loop.h"

namespace zk {

EventLoop::EventLoop() : previous_(install(this)) {}

EventLoop::~EventLoop()
{
    install(previous_);
}

void EventLoop::post(Work work)
{
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(work));
    }
    posted_.notify_one();
}

Dispatcher::TimerId EventLoop::start_timer(std::chrono::milliseconds delay, Work work)
{
    const TimerId id = next_id_++;
    timers_.emplace(id, std::move(work));
    due_.emplace(Clock::now() + delay, id);
    return id;
}

void EventLoop::cancel_timer(TimerId id)
{
    // Its place in due_ stays; finding no work there, it is skipped.
    timers_.erase(id);
}

bool EventLoop::run_one()
{
    Work work;
    {
        const std::lock_guard lock(mutex_);
        if (!queue_.empty()) {
            work = std::move(queue_.front());
            queue_.pop_front();
        }
    }
    while (!work && !due_.empty() && due_.begin()->first <= Clock::now()) {
        const TimerId id = due_.begin()->second;
        due_.erase(due_.begin());
        if (const auto found = timers_.find(id); found != timers_.end()) {
            work = std::move(found->second);
            timers_.erase(found);
        }
    }
    if (!work) return false;
    work();
    return true;
}

void EventLoop::sleep(std::optional<Clock::time_point> until)
{
    // Cancelled timers leave their places behind; they must not end a sleep early.
    while (!due_.empty() && !timers_.contains(due_.begin()->second))
        due_.erase(due_.begin());
    if (!due_.empty() && (!until || due_.begin()->first < *until)) until = due_.begin()->first;
    std::unique_lock lock(mutex_);
    const auto woken = [this] { return !queue_.empty(); };
    if (until)
        posted_.wait_until(lock, *until, woken);
    else
        posted_.wait(lock, woken);
}

int EventLoop::run()
{
    for (;;) {
        {
            const std::lock_guard lock(mutex_);
            if (quit_status_) {
                const int status = *quit_status_;
                quit_status_.reset();
                return status;
            }
        }
        if (!run_one()) sleep(std::nullopt);
    }
}

bool EventLoop::run_until(const std::function<bool()>& done, Clock::time_point deadline)
{
    while (!done()) {
        if (Clock::now() >= deadline) return done();
        if (!run_one()) sleep(deadline);
    }
    return true;
}

void EventLoop::run_pending()
{
    while (run_one()) {
    }
}

void EventLoop::quit(int status)
{
    {
        const std::lock_guard lock(mutex_);
        quit_status_ = status;
    }
    post([] {}); // wakes run() to see it
}

} // namespace zk
