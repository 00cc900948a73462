#include "net/datagram_endpoint_wait.h"

#include <array>
#include <thread>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#endif

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

#ifdef _WIN32

using PollEntry = WSAPOLLFD;

PollEntry watch_reading(std::intptr_t descriptor)
{
    PollEntry entry{};
    entry.fd = static_cast<SOCKET>(descriptor);
    entry.events = POLLRDNORM;
    return entry;
}

int poll_entries(PollEntry* entries, unsigned count, int timeout)
{
    return ::WSAPoll(entries, count, timeout);
}

bool read_some(std::intptr_t descriptor)
{
    char bytes[64];
    return ::recv(static_cast<SOCKET>(descriptor), bytes, sizeof bytes, 0) > 0;
}

#else

using PollEntry = pollfd;

PollEntry watch_reading(std::intptr_t descriptor)
{
    return {static_cast<int>(descriptor), POLLIN, 0};
}

int poll_entries(PollEntry* entries, unsigned count, int timeout)
{
    return ::poll(entries, count, timeout);
}

bool read_some(std::intptr_t descriptor)
{
    char bytes[64];
    return ::read(static_cast<int>(descriptor), bytes, sizeof bytes) > 0;
}

#endif

} // namespace

#ifdef _WIN32

// Windows polls sockets only, so the means of waking is a UDP socket on the loopback address
// that sends itself a byte.
SocketWait::SocketWait()
{
    WSADATA started{};
    if (::WSAStartup(MAKEWORD(2, 2), &started) != 0) return;
    winsock_started_ = true;
    const SOCKET self = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (self == INVALID_SOCKET) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    u_long non_blocking = 1;
    if (::bind(self, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(self, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        ::connect(self, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::ioctlsocket(self, FIONBIO, &non_blocking) != 0) {
        ::closesocket(self);
        return;
    }
    wake_read_ = wake_write_ = static_cast<std::intptr_t>(self);
}

SocketWait::~SocketWait()
{
    if (usable()) ::closesocket(static_cast<SOCKET>(wake_read_));
    if (winsock_started_) ::WSACleanup();
}

void SocketWait::wake()
{
    if (!usable()) return;
    const char byte = 1;
    ::send(static_cast<SOCKET>(wake_write_), &byte, 1, 0);
}

#else

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

#endif

SocketWait::Woken SocketWait::wait(std::intptr_t socket, std::chrono::milliseconds timeout)
{
    std::array<PollEntry, 2> watched{watch_reading(socket), watch_reading(wake_read_)};
    const unsigned count = usable() ? 2 : 1;
    if (poll_entries(watched.data(), count, poll_timeout(timeout, usable())) <= 0)
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
    PollEntry watched = watch_reading(wake_read_);
    if (poll_entries(&watched, 1, poll_timeout(timeout, true)) <= 0) return false;
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
