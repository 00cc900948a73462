#include "present/find/find_watch.h"

#include "discovery/answer_rule.h"

namespace zk::present {

using discovery::answers;
using discovery::decode_reply;
using discovery::decode_request;
using discovery::Reply;
using discovery::Request;
using discovery::SearchRequest;
using discovery::WriteRequest;

namespace {

using namespace std::chrono_literals;

// The operator is told once; a window asks nothing again by itself.
constexpr FindWatch::Time find_wait = 3s;

// A search and a write wait for their answer; a read fills the fields when it comes.
bool watched(const Request& request)
{
    return std::holds_alternative<SearchRequest>(request) ||
           std::holds_alternative<WriteRequest>(request);
}

} // namespace

void FindWatch::sent(ByteView request, Time now)
{
    const std::optional<Request> decoded = decode_request(request);
    if (decoded && watched(*decoded)) pending_.start(*decoded, now + find_wait);
}

bool FindWatch::arrived(ByteView datagram)
{
    const std::optional<Reply> reply = decode_reply(datagram);
    if (!reply) return false;
    return pending_.answer_first([&](const Request& request) { return answers(request, *reply); })
        .has_value();
}

void FindWatch::expire(Time now, MessageBoxes& boxes)
{
    for (const PendingWaits<Request>::Wait& wait : pending_.expire(now))
        boxes.message_box(std::holds_alternative<SearchRequest>(wait.key) ? msg_none_found
                                                                          : msg_write_unconfirmed);
}

} // namespace zk::present
