#pragma once
// Wakes a window when the next wait for an answer runs out: one single-shot timer over one
// monotonic clock started with the window, re-armed after every change of the waits.
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <optional>

#include "base/bytes.h"
#include "base/pending_requests.h"

namespace zk::ui {

class WaitTimer final : public QObject
{
public:
    using Time = PendingRequests::Time;

    // `next_deadline` says when the waits next run out (nullopt: nothing waits); `expire` is
    // called with the time once that moment has come.
    WaitTimer(QObject* parent,
              std::function<std::optional<Time>()> next_deadline,
              std::function<void(Time now)> expire);

    // Milliseconds since the window opened.
    Time now() const;
    // The waits changed: fires at the next deadline (at once when it has passed), or not at all.
    void rearm();

private:
    std::function<std::optional<Time>()> next_deadline_;
    QElapsedTimer clock_;
    QTimer timer_;
};

// A timer for `watch`, whose waits that run out are told in `told_in` (the window's view or its
// message boxes).
template <class Watch, class Shown>
WaitTimer* start_wait_timer(QObject* parent, Watch& watch, Shown& told_in)
{
    return new WaitTimer(
        parent, [&watch] { return watch.next_deadline(); },
        [&watch, &told_in](WaitTimer::Time now) { watch.expire(now, told_in); });
}

// What the handlers call for each request that went out (its bytes or its typed value, as the
// watch takes it): `watch` starts waiting for its answer.
template <class Watch> auto note_sent_requests(Watch& watch, WaitTimer& timer)
{
    return [&watch, &timer](const auto& request) {
        watch.sent(request, timer.now());
        timer.rearm();
    };
}

} // namespace zk::ui
