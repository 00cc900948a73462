#pragma once
// The settings window never leaves the operator guessing: every request starts a wait for the
// answer that belongs to it, and a wait that runs out shows "中控无应答". Nothing is re-sent,
// and an answer that comes later is still shown as usual.
#include <optional>
#include <string_view>

#include "base/pending_requests.h"
#include "protocol/replies.h"
#include "protocol/request.h"
#include "view/settings_view.h"

namespace zk::present {

inline constexpr std::string_view msg_no_answer = "中控无应答";

using Time = PendingRequests::Time;

class AnswerWatch
{
public:
    // A request went out.
    void sent(const protocol::Request& request, Time now);
    // An answer arrived: it ends the wait of the request it answers; an enrolment step after
    // which the controller waits for the finger again starts that request's wait anew.
    void answered(const protocol::Reply& reply, Time now);
    // Shows the notice in 标签状态, and in 标签卡状态 for card requests, for every wait that has
    // run out by `now`.
    void expire(Time now, SettingsView& view);
    // When expire() next has something to do; nullopt when nothing waits.
    std::optional<Time> next_deadline() const { return pending_.next_deadline(); }

private:
    PendingWaits<protocol::Request> pending_;
};

} // namespace zk::present
