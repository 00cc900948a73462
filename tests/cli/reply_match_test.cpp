// Which datagram answers which request.
#include <gtest/gtest.h>

#include "cli/reply_match.h"
#include "support/hex.h"

namespace zk::cli {
namespace {

using test::from_hex;

struct MatchCase
{
    const char* request; // payload
    const char* reply;   // frame
    bool answers;
};

TEST(reply_match, an_answer_carries_the_command_the_reply_operation_and_the_sub_code)
{
    const MatchCase cases[] = {
        {"A6 C5 00", "48 53 33 FF 05 00 00 A6 55 F6", true},
        {"A6 00", "48 53 33 FF 05 00 00 A6 55 F6", false}, // a read wants data, not an ack
        {"A5 00 01", "48 53 33 FF 08 00 00 A5 00 01 00 0C A0", true},
        {"A5 00 02 00 12 D6 87", "48 53 33 FF 08 00 00 A5 00 01 00 0C A0", false}, // sub-code
        {"A5 C5 00 00 12 D6 87", "48 53 33 FF 07 00 00 A5 55 00 01 F6", true},
        {"A5 C5 03 00 12 D6 87", "48 53 33 FF 07 00 00 A5 55 00 01 F6", false},
        {"92 00", "48 53 33 FF 07 00 00 92 00 01 2C B8", true},
        {"92 00", "48 53 34 FF 07 00 00 92 00 01 2C B8", false}, // not HS3
        {"41 00", "48 53 33 FF 07 00 00 92 00 01 2C B8", false}, // other command
        {"A4 C5 01", "48 53 33 FF 06 00 00 A4 55 00 F7", false}, // resumed, not paused
        {"A4 C5 01", "48 53 33 FF 06 00 00 A4 55 01 F6", true},
        {"A8 00 01", "48 53 33 FF 05 00 00 A8 00", false}, // sub-code missing
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(std::string(c.request) + " / " + c.reply);
        const auto key = expected_reply(from_hex(c.request));
        ASSERT_TRUE(key.has_value());
        EXPECT_EQ(carries(from_hex(c.reply), *key), c.answers);
    }
    EXPECT_FALSE(expected_reply(from_hex("A5 55 00")).has_value());
}

} // namespace
} // namespace zk::cli
