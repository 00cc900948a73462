#include "ui/qt/wait_timer.h"

#include <algorithm>

namespace zk::ui {

WaitTimer::WaitTimer(QObject* parent,
                     std::function<std::optional<Time>()> next_deadline,
                     std::function<void(Time now)> expire)
    : QObject(parent), next_deadline_(std::move(next_deadline))
{
    clock_.start();
    timer_.setSingleShot(true);
    // A coarse timer may fire a little early; rearm() then simply waits for the rest.
    timer_.setTimerType(Qt::CoarseTimer);
    connect(&timer_, &QTimer::timeout, this, [this, expire = std::move(expire)] {
        expire(now());
        rearm();
    });
}

WaitTimer::Time WaitTimer::now() const
{
    return Time(clock_.elapsed());
}

void WaitTimer::rearm()
{
    const std::optional<Time> deadline = next_deadline_();
    if (!deadline) {
        timer_.stop();
        return;
    }
    timer_.start(std::max(Time(0), *deadline - now()));
}

} // namespace zk::ui
