#include "cli/event_wait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace zk::cli {

bool Waiter::wait_until(const std::function<bool()>& done, Clock::time_point deadline)
{
    while (!done()) {
        const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(static_cast<int>(left.count()));
        loop_ = &loop;
        loop.exec();
        loop_ = nullptr;
    }
    return true;
}

void Waiter::wake()
{
    if (loop_) loop_->quit();
}

void Waiter::pump()
{
    QCoreApplication::processEvents();
}

} // namespace zk::cli
