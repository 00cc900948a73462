#include "sim/quit_on_signal.h"

#include <QCoreApplication>
#include <QTimer>
#include <csignal>

namespace zk::sim {

namespace {

volatile std::sig_atomic_t quit_requested = 0;

extern "C" void request_quit(int)
{
    quit_requested = 1;
}

} // namespace

void quit_on_signals()
{
    std::signal(SIGINT, request_quit);
    std::signal(SIGTERM, request_quit);
    // Only a flag may be touched inside a signal handler; the loop looks at it a few times a
    // second and quits from the ordinary thread of control.
    auto* poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, [] {
        if (quit_requested) QCoreApplication::quit();
    });
    poll->start(100);
}

} // namespace zk::sim
