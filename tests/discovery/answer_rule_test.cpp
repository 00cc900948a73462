#include "discovery/answer_rule.h"

#include <gtest/gtest.h>

namespace zk::discovery {
namespace {

constexpr Mac a{0x84, 0xC2, 0xE4, 0x00, 0x00, 0x01};
constexpr Mac b{0x84, 0xC2, 0xE4, 0x00, 0x00, 0x02};

TEST(answer_rule, a_reply_answers_only_its_kind_of_request_from_the_controller_it_named)
{
    const struct
    {
        const char* what;
        Request request;
        Reply reply;
        bool answers;
    } cases[] = {
        {"search, any controller's reply", SearchRequest{}, SearchReply{b, {}, {}, 0, {}}, true},
        {"search naming A, B's reply", SearchRequest{a, {}}, SearchReply{b, {}, {}, 0, {}}, false},
        {"search naming A, A's reply", SearchRequest{a, {}}, SearchReply{a, {}, {}, 0, {}}, true},
        {"search, a configuration reply", SearchRequest{}, ConfigReply{a, {}}, false},
        {"read of A, A's block", ReadRequest{a, {}}, ConfigReply{a, {}}, true},
        {"read of A, B's block", ReadRequest{a, {}}, ConfigReply{b, {}}, false},
        {"read of A, A's search reply", ReadRequest{a, {}}, SearchReply{a, {}, {}, 0, {}}, false},
        {"write to A, acknowledged", WriteRequest{a, {}}, WriteAck{a, {}}, true},
        {"write to A, refused", WriteRequest{a, {}}, WriteRefused{a, {}}, true},
        {"write to A, its acknowledgement's MAC bytes are the controller's", WriteRequest{a, {}},
         WriteAck{b, {}}, true},
        {"write to A, so are its refusal's", WriteRequest{a, {}}, WriteRefused{b, {}}, true},
        {"write to A, A's block", WriteRequest{a, {}}, ConfigReply{a, {}}, false},
        {"write to A, A's reset done", WriteRequest{a, {}}, ResetAck{a, {}}, false},
        {"reset of A, done", ResetRequest{a, {}}, ResetAck{a, {}}, true},
        {"reset of A, B done", ResetRequest{a, {}}, ResetAck{b, {}}, false},
        {"reset of A, acknowledged as a write", ResetRequest{a, {}}, WriteAck{a, {}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(answers(c.request, c.reply), c.answers);
    }
}

} // namespace
} // namespace zk::discovery
