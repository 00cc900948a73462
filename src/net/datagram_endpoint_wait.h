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
    bool usable() const { return wake_read_ != invalid; }
    // Waits on `socket` (a descriptor as Qt gives it) for at most `timeout`; a negative timeout
    // waits without limit.
    Woken wait(std::intptr_t socket, std::chrono::milliseconds timeout);
    // Waits for wake() alone, for at most `timeout` (not negative); true when woken.
    bool wait_for_call(std::chrono::milliseconds timeout);
    // Ends the current or the next wait; callable from any thread.
    void wake();

private:
    void take_calls();

    static constexpr std::intptr_t invalid = -1;
    std::intptr_t wake_read_ = invalid;  // what wait() watches besides the socket
    std::intptr_t wake_write_ = invalid; // what wake() writes to (the same socket on Windows)
#ifdef _WIN32
    bool winsock_started_ = false;
#endif
};

} // namespace zk::detail
