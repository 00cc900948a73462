#pragma once
// The find window never leaves the operator guessing: a search no controller answers and a
// write of network parameters nobody acknowledges are told in a message box after a wait.
// Nothing is re-sent.
#include <optional>
#include <string_view>

#include "base/bytes.h"
#include "base/pending_requests.h"
#include "discovery/message.h"
#include "view/controls.h"

namespace zk::present {

inline constexpr std::string_view msg_none_found = "未找到中控，请检查网卡选择和防火墙";
inline constexpr std::string_view msg_write_unconfirmed = "中控无应答，IP参数未确认";

class FindWatch
{
public:
    using Time = PendingWaits<discovery::Request>::Time;

    // A configuration request went out: a search or a write starts its wait.
    void sent(ByteView request, Time now);
    // A configuration datagram arrived: it ends the wait of the request it answers (the answer
    // rule: its kind and its MAC). True when it ended a wait, the only case in which
    // next_deadline() changes.
    bool arrived(ByteView datagram);
    // Shows the message of every wait that has run out by `now`.
    void expire(Time now, MessageBoxes& boxes);
    // When expire() next has something to do; nullopt when nothing waits.
    std::optional<Time> next_deadline() const { return pending_.next_deadline(); }

private:
    PendingWaits<discovery::Request> pending_;
};

} // namespace zk::present
