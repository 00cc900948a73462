#include "discovery/answer_rule.h"

namespace zk::discovery {

namespace {

template <class Kind> bool is(const Reply& reply)
{
    return std::holds_alternative<Kind>(reply);
}

// One overload per request kind, so a new kind cannot go without its answer.
struct AnsweredBy
{
    const Reply& r;
    bool operator()(const SearchRequest&) const { return is<SearchReply>(r); }
    bool operator()(const ReadRequest&) const { return is<ConfigReply>(r); }
    // A refused write was answered all the same: the module has said what it did.
    bool operator()(const WriteRequest&) const { return is<WriteAck>(r) || is<WriteRefused>(r); }
    bool operator()(const ResetRequest&) const { return is<ResetAck>(r); }
};

bool asks_everyone(const Request& request)
{
    return std::holds_alternative<SearchRequest>(request) && mac_of(request) == Mac{};
}

// A search reply and a configuration reply name the controller that sent them. What a
// controller puts in the MAC bytes of its write acknowledgement is its own: some echo the MAC,
// some do not, so a write's answer is known by its kind. One write is out at a time, and zkctl
// reads the block back to see what was stored.
bool names_its_sender(const Reply& reply)
{
    return !is<WriteAck>(reply) && !is<WriteRefused>(reply);
}

} // namespace

bool answers(const Request& request, const Reply& reply)
{
    if (!std::visit(AnsweredBy{reply}, request)) return false;
    return asks_everyone(request) || !names_its_sender(reply) || mac_of(request) == mac_of(reply);
}

} // namespace zk::discovery
