#include "commands/answer_watch.h"

#include "protocol/codes.h"

namespace zk::commands {

namespace {

using namespace std::chrono_literals;

constexpr Time usual_wait = 2s;
constexpr Time person_wait = 15s;

enum Note : int
{
    status_only = 0,
    card_request = 1,
};

bool is_registry(ByteView payload, std::uint8_t operation, std::uint8_t sub_code)
{
    return payload.size() >= 3 && payload[0] == protocol::byte_of(protocol::Command::registry) &&
           payload[1] == operation && payload[2] == sub_code;
}

bool is_card_request(ByteView payload)
{
    using namespace protocol;
    return is_registry(payload, op_read, registry_read::card) ||
           is_registry(payload, op_read, registry_read::count) ||
           is_registry(payload, op_read, registry_read::lookup) ||
           is_registry(payload, op_write, registry_write::card) ||
           is_registry(payload, op_write, registry_write::delete_card);
}

// A successful step of one to three: the controller now waits for the same finger again.
bool asks_for_next_step(const protocol::Reply& reply)
{
    const auto* step = std::get_if<protocol::FingerprintEnrolmentAck>(&reply);
    return step && step->succeeded && step->step < 4;
}

} // namespace

Time answer_wait(ByteView payload)
{
    using namespace protocol;
    if (is_registry(payload, op_read, registry_read::card) ||
        is_registry(payload, op_write, registry_write::enrol_fingerprint))
        return person_wait;
    return usual_wait;
}

void AnswerWatch::sent(ByteView payload, Time now)
{
    if (payload.empty()) return;
    pending_.start(payload[0], now + answer_wait(payload),
                   is_card_request(payload) ? card_request : status_only);
}

void AnswerWatch::answered(const protocol::Reply& reply, Time now)
{
    const std::uint8_t command = protocol::reply_payload(reply).at(0);
    if (asks_for_next_step(reply))
        pending_.start(command, now + person_wait, status_only);
    else
        pending_.answer(command);
}

void AnswerWatch::expire(Time now, SettingsView& view)
{
    for (const PendingRequests::Wait& wait : pending_.expire(now)) {
        view.标签状态.set_caption(msg_no_answer);
        if (wait.note == card_request) view.标签卡状态.set_caption(msg_no_answer);
    }
}

} // namespace zk::commands
