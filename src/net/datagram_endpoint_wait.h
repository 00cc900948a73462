#pragma once
// How the endpoint's receiving thread sleeps: until its socket has a datagram, until another
// thread has work for it (a send, the end), or until a deadline. Waiting on the socket itself,
// rather than in an event loop, makes a datagram cost the thread one wake-up and the reads, which
// is what keeps a stream of answers from a whole campus cheap.
#include <chrono>
#include <cstdint>

namespace zk::detail {

class SocketWait
{
public:
    // What ended a wait; both may be true.
    struct Woken
    {
        bool readable = false; // the socket has something to read
        bool called = false;   // wake() was called since the last wait
    };

    SocketWait();
    ~SocketWait();
    SocketWait(const SocketWait&) = delete;
    SocketWait& operator=(const SocketWait&) = delete;

    // False when the means of waking could not be made; waits then end every few milliseconds
    // and count as woken, so that work for the thread is still seen.
    bool usable() const;
    // Waits on `socket` (a descriptor as Qt gives it) for at most `timeout`; a negative timeout
    // waits without limit.
    Woken wait(std::intptr_t socket, std::chrono::milliseconds timeout);
    // Waits for wake() alone, for at most `timeout` (not negative); true when woken.
    bool wait_for_call(std::chrono::milliseconds timeout);
    // Ends the current or the next wait; callable from any thread.
    void wake();

private:
#ifdef _WIN32
    // Windows waits on events: the socket's, set when a datagram arrives (FD_READ), and one that
    // wake() sets. Waiting in WSAPoll instead woke the thread milliseconds late under Wine, the
    // start of a burst the buffer then had to hold alone.
    void* socket_event_ = nullptr;
    void* wake_event_ = nullptr;
    std::intptr_t watched_ = -1; // the socket whose datagrams set socket_event_
    bool winsock_started_ = false;
#else
    void take_calls();

    static constexpr std::intptr_t invalid = -1;
    std::intptr_t wake_read_ = invalid;  // what wait() watches besides the socket
    std::intptr_t wake_write_ = invalid; // what wake() writes to
#endif
};

} // namespace zk::detail
