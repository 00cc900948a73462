#pragma once
// Ctrl-C and termination requests end the event loop normally, so the program closes its
// sockets and files on the way out instead of dying mid-write.
#include "net/dispatcher.h"

namespace zk {
class EventLoop;
}

namespace zk::sim {

// While it lives, SIGINT and SIGTERM (Ctrl-C, Ctrl-Break and closing the console on Windows)
// make `loop` quit. One at a time.
class QuitOnSignals
{
public:
    explicit QuitOnSignals(EventLoop& loop);
    ~QuitOnSignals();
    QuitOnSignals(const QuitOnSignals&) = delete;
    QuitOnSignals& operator=(const QuitOnSignals&) = delete;

private:
    void look();

    EventLoop& loop_;
    Timer poll_;
};

} // namespace zk::sim
