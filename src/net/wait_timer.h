#pragma once
// Wakes a window when the next wait for an answer runs out: one single-shot timer of the window
// thread's dispatcher over one monotonic clock started with the window, re-armed after every
// change of the waits. Free of any toolkit: both GUIs run it on their window thread's dispatcher.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "base/pending_requests.h"
#include "net/dispatcher.h"

namespace zk {

class WaitTimer
{
public:
    using Time = PendingRequests::Time;

    // `next_deadline` says when the waits next run out (nullopt: nothing waits); `expire` is
    // called with the time once that moment has come.
    WaitTimer(Dispatcher& dispatcher,
              std::function<std::optional<Time>()> next_deadline,
              std::function<void(Time now)> expire);

    // Milliseconds since the window opened.
    Time now() const;
    // The waits changed: fires at the next deadline (at once when it has passed), or not at all.
    void rearm();

private:
    std::function<std::optional<Time>()> next_deadline_;
    std::function<void(Time now)> expire_;
    std::chrono::steady_clock::time_point start_;
    Timer timer_;
};

// A timer for `watch` on the calling thread's dispatcher, whose waits that run out are told in
// `told_in` (the window's view or its message boxes).
template <class Watch, class Shown>
std::unique_ptr<WaitTimer> start_wait_timer(Watch& watch, Shown& told_in)
{
    return std::make_unique<WaitTimer>(
        Dispatcher::current(), [&watch] { return watch.next_deadline(); },
        [&watch, &told_in](WaitTimer::Time now) { watch.expire(now, told_in); });
}

// What the handlers call for each request that went out (its bytes or its typed value, as the
// watch takes it): `watch` starts waiting for its answer.
template <class Watch> auto note_sent_requests(Watch& watch, WaitTimer& timer)
{
    return [&watch, &timer](const auto& request) {
        watch.sent(request, timer.now());
        timer.rearm();
    };
}

} // namespace zk
