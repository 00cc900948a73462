#pragma once
// Where a program's events run: the thread that owns windows or a loop of its own. Datagrams
// arrive on the endpoint's receiving thread and are handed to the dispatcher of the thread that
// made the endpoint; timers fire there too. zkctl and zksim run an EventLoop; the Qt windows
// post to Qt's event loop. Each thread has at most one dispatcher, installed while it lives.
#include <chrono>
#include <cstdint>
#include <functional>

namespace zk {

class Dispatcher
{
public:
    using Work = std::function<void()>;
    using TimerId = std::uint64_t;

    virtual ~Dispatcher() = default;

    // Runs `work` on the dispatcher's thread soon, after what was posted before it; callable
    // from any thread.
    virtual void post(Work work) = 0;
    // Runs `work` once on the dispatcher's thread when `delay` has passed; called on that thread.
    // The id cancels it.
    virtual TimerId start_timer(std::chrono::milliseconds delay, Work work) = 0;
    // A timer that fired or was cancelled already is ignored.
    virtual void cancel_timer(TimerId id) = 0;

    // The dispatcher installed on the calling thread, or null.
    static Dispatcher* of_this_thread();
    // The same, for those that cannot work without one: throws std::logic_error when none is.
    static Dispatcher& current();

protected:
    // Installs `dispatcher` for the calling thread (null uninstalls); the previous one is
    // returned, to be put back when this one goes.
    static Dispatcher* install(Dispatcher* dispatcher);
};

// A single-shot timer that dies with its owner, so a callback never outlives what it captured.
class Timer
{
public:
    // On the calling thread's dispatcher, which must exist.
    Timer();
    explicit Timer(Dispatcher& dispatcher) : dispatcher_(&dispatcher) {}
    ~Timer() { stop(); }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Fires `work` once after `delay`; starting again replaces what was pending.
    void start(std::chrono::milliseconds delay, Dispatcher::Work work);
    void stop();
    bool active() const { return id_ != 0; }

private:
    Dispatcher* dispatcher_;
    Dispatcher::TimerId id_ = 0;
};

} // namespace zk
