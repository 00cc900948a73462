#include "net/datagram_endpoint_wait.h"

#include <array>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace zk::detail {

namespace {

// Without a means of waking (no descriptor was left), sends and the end are noticed this often.
constexpr long long unwakeable_ms = 10;

int poll_timeout(std::chrono::milliseconds timeout, bool wakeable)
{
    const long long longest = wakeable ? 24LL * 3600 * 1000 : unwakeable_ms;
    if (timeout.count() < 0) return wakeable ? -1 : static_cast<int>(longest);
    return static_cast<int>(timeout.count() < longest ? timeout.count() : longest);
}

pollfd watch_reading(std::intptr_t descriptor)
{
    return {static_cast<int>(descriptor), POLLIN, 0};
}

bool read_some(std::intptr_t descriptor)
{
    char bytes[64];
    return ::read(static_cast<int>(descriptor), bytes, sizeof bytes) > 0;
}

} // namespace

SocketWait::SocketWait()
{
    int ends[2];
    if (::pipe(ends) != 0) return;
    for (const int end : ends) {
        ::fcntl(end, F_SETFL, ::fcntl(end, F_GETFL) | O_NONBLOCK);
        ::fcntl(end, F_SETFD, FD_CLOEXEC);
    }
    wake_read_ = ends[0];
    wake_write_ = ends[1];
}

bool SocketWait::usable() const
{
    return wake_read_ != invalid;
}

SocketWait::~SocketWait()
{
    if (!usable()) return;
    ::close(static_cast<int>(wake_read_));
    ::close(static_cast<int>(wake_write_));
}

void SocketWait::wake()
{
    if (!usable()) return;
    // A full pipe already holds a wake-up.
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(static_cast<int>(wake_write_), &byte, 1);
}

SocketWait::Woken SocketWait::wait(std::intptr_t socket, std::chrono::milliseconds timeout)
{
    std::array<pollfd, 2> watched{watch_reading(socket), watch_reading(wake_read_)};
    const unsigned count = usable() ? 2 : 1;
    if (::poll(watched.data(), count, poll_timeout(timeout, usable())) <= 0)
        return {false, !usable()};
    const Woken woken{watched[0].revents != 0, !usable() || watched[1].revents != 0};
    if (usable() && woken.called) take_calls();
    return woken;
}

bool SocketWait::wait_for_call(std::chrono::milliseconds timeout)
{
    if (!usable()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(poll_timeout(timeout, false)));
        return true;
    }
    pollfd watched = watch_reading(wake_read_);
    if (::poll(&watched, 1, poll_timeout(timeout, true)) <= 0) return false;
    take_calls();
    return true;
}

void SocketWait::take_calls()
{
    // Every wake-up so far is answered by this return; what is left would end the next wait.
    while (read_some(wake_read_)) {
    }
}

} // namespace zk::detail
