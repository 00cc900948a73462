#include "sim/quit_on_signal.h"

#include <atomic>
#include <csignal>

#include "net/event_loop.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace zk::sim {

namespace {

volatile std::sig_atomic_t quit_requested = 0;

extern "C" void request_quit(int)
{
    quit_requested = 1;
}

#ifdef _WIN32
std::atomic<EventLoop*> quitting{nullptr};

// Windows runs console handlers on a thread of their own, where quitting the loop is allowed.
BOOL WINAPI console_event(DWORD)
{
    if (EventLoop* loop = quitting.load()) loop->quit();
    return TRUE;
}
#endif

} // namespace

QuitOnSignals::QuitOnSignals(EventLoop& loop) : loop_(loop), poll_(loop)
{
#ifdef _WIN32
    quitting = &loop;
    ::SetConsoleCtrlHandler(console_event, TRUE);
#else
    std::signal(SIGINT, request_quit);
#endif
    std::signal(SIGTERM, request_quit);
    // Only a flag may be touched inside a signal handler; the loop looks at it a few times a
    // second and quits from the ordinary thread of control.
    look();
}

QuitOnSignals::~QuitOnSignals()
{
#ifdef _WIN32
    ::SetConsoleCtrlHandler(console_event, FALSE);
    quitting = nullptr;
#endif
}

void QuitOnSignals::look()
{
    if (quit_requested) {
        loop_.quit();
        return;
    }
    poll_.start(std::chrono::milliseconds(100), [this] { look(); });
}

} // namespace zk::sim
