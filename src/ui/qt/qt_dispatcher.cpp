#include "ui/qt/qt_dispatcher.h"

#include <QTimer>

namespace zk {

QtDispatcher::QtDispatcher() : previous_(install(this)) {}

QtDispatcher::~QtDispatcher()
{
    install(previous_);
}

void QtDispatcher::post(Work work)
{
    // Work queued for a dispatcher already gone is dropped with its home.
    QMetaObject::invokeMethod(&home_, std::move(work), Qt::QueuedConnection);
}

Dispatcher::TimerId QtDispatcher::start_timer(std::chrono::milliseconds delay, Work work)
{
    const TimerId id = next_id_++;
    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer.get(), &QTimer::timeout, &home_, [this, id, work = std::move(work)] {
        // The timer goes before the work runs: the work may start timers of its own. It is
        // deleted later, since it is still delivering this signal.
        if (const auto found = timers_.find(id); found != timers_.end()) {
            found->second.release()->deleteLater();
            timers_.erase(found);
        }
        work();
    });
    timer->start(static_cast<int>(delay.count()));
    timers_.emplace(id, std::move(timer));
    return id;
}

void QtDispatcher::cancel_timer(TimerId id)
{
    timers_.erase(id);
}

} // namespace zk
