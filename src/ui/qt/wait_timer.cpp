#include "ui/qt/wait_timer.h"

#include <algorithm>

namespace zk::ui {

WaitTimer::WaitTimer(QObject* parent, std::function<void()> expired) : QObject(parent)
{
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::CoarseTimer);
    connect(&timer_, &QTimer::timeout, this, std::move(expired));
}

WaitTimer::Time WaitTimer::now() const
{
    return Time(clock_.elapsed());
}

void WaitTimer::arm(std::optional<Time> deadline)
{
    if (!deadline) {
        timer_.stop();
        return;
    }
    const auto left = std::max(Time(0), *deadline - now());
    timer_.start(std::chrono::duration_cast<std::chrono::milliseconds>(left));
}

} // namespace zk::ui
