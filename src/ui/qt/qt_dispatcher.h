#pragma once
// The windows' dispatcher: datagrams and timers run in Qt's event loop, on the windows' thread.
#include <QObject>
#include <map>
#include <memory>

#include "net/dispatcher.h"

class QTimer;

namespace zk {

class QtDispatcher final : public Dispatcher
{
public:
    // Installs itself for the calling thread, which runs Qt's event loop, until destroyed.
    QtDispatcher();
    ~QtDispatcher() override;
    QtDispatcher(const QtDispatcher&) = delete;
    QtDispatcher& operator=(const QtDispatcher&) = delete;

    void post(Work work) override;
    TimerId start_timer(std::chrono::milliseconds delay, Work work) override;
    void cancel_timer(TimerId id) override;

private:
    Dispatcher* previous_;
    QObject home_; // posted work is delivered to it, on this thread
    std::map<TimerId, std::unique_ptr<QTimer>> timers_;
    TimerId next_id_ = 1;
};

} // namespace zk
