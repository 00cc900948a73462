#include "cli/event_wait.h"

#include <stdexcept>

#include "net/event_loop.h"

namespace zk::cli {

namespace {

EventLoop& this_threads_loop()
{
    auto* loop = dynamic_cast<EventLoop*>(Dispatcher::of_this_thread());
    if (!loop) throw std::logic_error("zkctl waits in an event loop of its own");
    return *loop;
}

} // namespace

bool wait_until(const std::function<bool()>& done, Clock::time_point deadline)
{
    return this_threads_loop().run_until(done, deadline);
}

void pump_events()
{
    this_threads_loop().run_pending();
}

} // namespace zk::cli
