#include "present/find/find_watch.h"

#include <gtest/gtest.h>

#include "support/memory_controls.h"

namespace zk::present {
namespace {

using namespace std::chrono_literals;

// A datagram of `length` bytes flagged as a configuration datagram, with `code` at offset 16
// and the MAC 00:00:00:00:00:`mac` at 17.
Bytes datagram(std::uint8_t code, std::size_t length = 285, std::uint8_t mac = 0)
{
    Bytes bytes(length, 0);
    const std::string_view flag = "CH9121_CFG_FLAG";
    std::copy(flag.begin(), flag.end(), bytes.begin());
    bytes[16] = code;
    if (length > 22) bytes[22] = mac;
    return bytes;
}

struct WatchCase
{
    const char* what;
    std::uint8_t request;
    std::optional<Bytes> reply;
    FindWatch::Time looked_at;
    std::vector<std::string> shown;
};

TEST(find_watch, tells_of_a_search_or_write_nobody_answers_within_three_seconds)
{
    const std::vector<std::string> none_found{"未找到中控，请检查网卡选择和防火墙"};
    const std::vector<std::string> unconfirmed{"中控无应答，IP参数未确认"};
    const WatchCase cases[] = {
        {"search, not yet due", 0x04, std::nullopt, 2999ms, {}},
        {"search, due", 0x04, std::nullopt, 3s, none_found},
        {"search answered", 0x04, datagram(0x84), 60s, {}},
        {"search, only a parameter reply", 0x04, datagram(0x82), 3s, none_found},
        {"search, a short reply is none", 0x04, datagram(0x84, 284), 3s, none_found},
        {"write, due", 0x01, std::nullopt, 3s, unconfirmed},
        {"write acknowledged", 0x01, datagram(0x81), 60s, {}},
        {"write refused", 0x01, datagram(0xC1), 60s, {}},
        {"write, a search reply is no answer", 0x01, datagram(0x84), 3s, unconfirmed},
        // An acknowledgement need not echo the MAC: those bytes are the controller's own.
        {"write acknowledged with other MAC bytes", 0x01, datagram(0x81, 285, 7), 60s, {}},
        {"search, any controller answers", 0x04, datagram(0x84, 285, 7), 60s, {}},
        {"a read is not watched", 0x02, std::nullopt, 60s, {}},
    };
    for (const WatchCase& c : cases) {
        SCOPED_TRACE(c.what);
        test::RecordingMessageBoxes boxes;
        FindWatch watch;
        watch.sent(datagram(c.request), 0ms);
        // Only an answer that ended a wait says so; the window re-arms its timer on that alone.
        const bool ended = c.reply && watch.arrived(*c.reply);
        EXPECT_EQ(ended, c.reply && c.shown.empty());
        watch.expire(c.looked_at, boxes);
        EXPECT_EQ(boxes.shown, c.shown);
    }
}

TEST(find_watch, tells_once_per_request)
{
    test::RecordingMessageBoxes boxes;
    FindWatch watch;
    watch.sent(datagram(0x04), 0ms);
    watch.sent(datagram(0x04), 1s); // a second search starts the wait anew
    watch.expire(3s, boxes);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(watch.next_deadline(), 4s);
    watch.expire(4s, boxes);
    watch.expire(10s, boxes);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(watch.next_deadline(), std::nullopt);
}

} // namespace
} // namespace zk::present
