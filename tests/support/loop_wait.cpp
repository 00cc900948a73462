#include <stdexcept>
#include <thread>

#include "net/event_loop.h"
#include "support/wait.h"

namespace zk::test {

bool wait_until(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    auto* loop = dynamic_cast<EventLoop*>(Dispatcher::of_this_thread());
    if (!loop) throw std::logic_error("the test has no event loop");
    // Short slices, so that state polled by `done` (a probe's socket) is looked at often.
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < end)
        loop->run_until([] { return false; }, std::min(end, std::chrono::steady_clock::now() +
                                                                std::chrono::milliseconds(5)));
    return done();
}

void settle(std::chrono::milliseconds time)
{
    wait_until([] { return false; }, time);
}

} // namespace zk::test
