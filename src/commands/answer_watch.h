#pragma once
// The settings window never leaves the operator guessing: every request starts a wait for an
// answer with the same command byte, and a wait that runs out shows "中控无应答". Nothing is
// re-sent, and an answer that comes later is still shown as usual.
#include <chrono>
#include <optional>
#include <string_view>

#include "protocol/replies.h"
#include "runtime/bytes.h"
#include "runtime/pending_requests.h"
#include "view/settings_view.h"

namespace zk::commands {

inline constexpr std::string_view msg_no_answer = "中控无应答";

using Time = PendingRequests::Time;

// How long the controller may take to answer a request: a card read waits for a card to be
// swiped and an enrolment step for a finger, so those get longer than the rest.
Time answer_wait(ByteView payload);

class AnswerWatch
{
public:
    // A request went out.
    void sent(ByteView payload, Time now);
    // An answer arrived; a fingerprint step that asks for the next one starts a new wait.
    void answered(const protocol::Reply& reply, Time now);
    // Shows the notice in 标签状态, and in 标签卡状态 for card requests, for every wait that has
    // run out by `now`.
    void expire(Time now, SettingsView& view);
    // When expire() next has something to do; nullopt when nothing waits.
    std::optional<Time> next_deadline() const { return pending_.next_deadline(); }

private:
    PendingRequests pending_;
};

} // namespace zk::commands
