#include "net/datagram_endpoint_wait.h"

#include <algorithm>
#include <thread>

#include <winsock2.h>

namespace zk::detail {

namespace {

// Without events (none could be made, or the socket refused its own), sends and the end are
// noticed this often.
constexpr long long unwakeable_ms = 10;

DWORD wait_ms(std::chrono::milliseconds timeout)
{
    constexpr long long longest = 24LL * 3600 * 1000;
    if (timeout.count() < 0) return INFINITE;
    return static_cast<DWORD>(std::min(timeout.count(), longest));
}

bool is_set(void* event)
{
    return ::WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

} // namespace

SocketWait::SocketWait()
{
    WSADATA started{};
    if (::WSAStartup(MAKEWORD(2, 2), &started) != 0) return;
    winsock_started_ = true;
    socket_event_ = ::WSACreateEvent();
    if (socket_event_ == WSA_INVALID_EVENT) socket_event_ = nullptr;
    // Auto-reset: the wait that sees a wake-up uses it up, however many came.
    if (socket_event_) wake_event_ = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

SocketWait::~SocketWait()
{
    // The socket stays tied to its event until its owner closes it, which comes next; undoing
    // the tie here could touch a handle already closed and given to another socket.
    if (wake_event_) ::CloseHandle(wake_event_);
    if (socket_event_) ::WSACloseEvent(socket_event_);
    if (winsock_started_) ::WSACleanup();
}

bool SocketWait::usable() const
{
    return wake_event_ != nullptr;
}

void SocketWait::wake()
{
    if (usable()) ::SetEvent(wake_event_);
}

SocketWait::Woken SocketWait::wait(std::intptr_t socket, std::chrono::milliseconds timeout)
{
    const auto handle = static_cast<SOCKET>(socket);
    // Datagrams already waiting when the socket is tied to the event set it at once.
    if (usable() && socket != watched_ && ::WSAEventSelect(handle, socket_event_, FD_READ) == 0)
        watched_ = socket;
    if (socket != watched_) {
        fd_set reading;
        FD_ZERO(&reading);
        FD_SET(handle, &reading);
        const long long ms =
            timeout.count() < 0 ? unwakeable_ms : std::min(timeout.count(), unwakeable_ms);
        timeval limit{0, static_cast<long>(ms * 1000)};
        return {::select(0, &reading, nullptr, nullptr, &limit) > 0, true};
    }
    void* const events[] = {socket_event_, wake_event_};
    const DWORD result = ::WaitForMultipleObjects(2, events, FALSE, wait_ms(timeout));
    Woken woken;
    woken.readable =
        result == WAIT_OBJECT_0 || (result == WAIT_OBJECT_0 + 1 && is_set(socket_event_));
    woken.called = result == WAIT_OBJECT_0 + 1 || (result == WAIT_OBJECT_0 && is_set(wake_event_));
    if (woken.readable) {
        // Unwatched while the caller reads: Wine's server would otherwise watch the socket again
        // after every read and set the event for each datagram still waiting, work for the one
        // thread that serves every read. The next wait watches it again, and whatever waits by
        // then, left unread or come meanwhile, sets the event at once.
        if (::WSAEventSelect(handle, socket_event_, 0) == 0) watched_ = -1;
        ::WSAResetEvent(socket_event_);
    }
    return woken;
}

bool SocketWait::wait_for_call(std::chrono::milliseconds timeout)
{
    if (!usable()) {
        std::this_thread::sleep_for(std::min(timeout, std::chrono::milliseconds(unwakeable_ms)));
        return true;
    }
    return ::WaitForSingleObject(wake_event_, wait_ms(timeout)) == WAIT_OBJECT_0;
}

} // namespace zk::detail
