#include "net/dispatcher.h"

#include <stdexcept>

namespace zk {

namespace {

thread_local Dispatcher* installed = nullptr;

} // namespace

Dispatcher* Dispatcher::of_this_thread()
{
    return installed;
}

Dispatcher& Dispatcher::current()
{
    if (!installed) throw std::logic_error("no event dispatcher on this thread");
    return *installed;
}

Dispatcher* Dispatcher::install(Dispatcher* dispatcher)
{
    Dispatcher* previous = installed;
    installed = dispatcher;
    return previous;
}

Timer::Timer() : dispatcher_(&Dispatcher::current()) {}

void Timer::start(std::chrono::milliseconds delay, Dispatcher::Work work)
{
    stop();
    // The id is cleared before the work runs, so the work may start the timer again.
    id_ = dispatcher_->start_timer(delay, [this, work = std::move(work)] {
        id_ = 0;
        work();
    });
}

void Timer::stop()
{
    if (id_ == 0) return;
    dispatcher_->cancel_timer(id_);
    id_ = 0;
}

} // namespace zk
