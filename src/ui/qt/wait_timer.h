#pragma once
// Wakes a window when the next wait for an answer runs out: one single-shot timer, re-armed
// after every change of the waits, over one monotonic clock started with the window.
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <optional>

#include "runtime/pending_requests.h"

namespace zk::ui {

class WaitTimer final : public QObject
{
public:
    using Time = PendingRequests::Time;

    WaitTimer(QObject* parent, std::function<void()> expired);

    // Milliseconds since the window opened.
    Time now() const;
    // Fires at `deadline` (at once when it has passed); nullopt stops the timer.
    void arm(std::optional<Time> deadline);

private:
    QElapsedTimer clock_;
    QTimer timer_;
};

} // namespace zk::ui
