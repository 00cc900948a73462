#include "net/wait_timer.h"

#include <algorithm>

namespace zk {

WaitTimer::WaitTimer(Dispatcher& dispatcher,
                     std::function<std::optional<Time>()> next_deadline,
                     std::function<void(Time now)> expire)
    : next_deadline_(std::move(next_deadline)), expire_(std::move(expire)),
      start_(std::chrono::steady_clock::now()), timer_(dispatcher)
{}

WaitTimer::Time WaitTimer::now() const
{
    return std::chrono::duration_cast<Time>(std::chrono::steady_clock::now() - start_);
}

void WaitTimer::rearm()
{
    const std::optional<Time> deadline = next_deadline_();
    if (!deadline) {
        timer_.stop();
        return;
    }
    // A timer that fires a little early simply waits again for the rest.
    timer_.start(std::max(Time(0), *deadline - now()), [this] {
        expire_(now());
        rearm();
    });
}

} // namespace zk
