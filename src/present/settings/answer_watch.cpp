#include "present/settings/answer_watch.h"

#include "protocol/answer_rule.h"

namespace zk::present {

namespace {

// The requests whose outcome the operator looks for beside the card box.
bool is_card_request(const protocol::Request& request)
{
    using namespace protocol;
    return std::holds_alternative<AwaitCard>(request) ||
           std::holds_alternative<ReadCardCount>(request) ||
           std::holds_alternative<LookUpCard>(request) ||
           std::holds_alternative<RegisterCard>(request) ||
           std::holds_alternative<DeleteCard>(request);
}

} // namespace

void AnswerWatch::sent(const protocol::Request& request, Time now)
{
    pending_.start(request, now + protocol::answer_wait(request));
}

void AnswerWatch::answered(const protocol::Reply& reply, Time now)
{
    const auto ended = pending_.answer_first(
        [&reply](const protocol::Request& request) { return protocol::answers(request, reply); });
    if (ended && protocol::more_answers_follow(reply))
        pending_.start(ended->key, now + protocol::answer_wait(ended->key));
}

void AnswerWatch::expire(Time now, SettingsView& view)
{
    for (const auto& wait : pending_.expire(now)) {
        view.标签状态.set_caption(msg_no_answer);
        if (is_card_request(wait.key)) view.标签卡状态.set_caption(msg_no_answer);
    }
}

} // namespace zk::present
