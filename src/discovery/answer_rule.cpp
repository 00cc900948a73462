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

} // namespace

bool answers(const Request& request, const Reply& reply)
{
    if (!std::visit(AnsweredBy{reply}, request)) return false;
    return asks_everyone(request) || mac_of(request) == mac_of(reply);
}

} // namespace zk::discovery
