#include "present/settings/answer_watch.h"

#include <gtest/gtest.h>

#include "support/memory_controls.h"

namespace zk::present {
namespace {

using namespace std::chrono_literals;
using namespace protocol;

// One request at time 0, perhaps an answer, then the labels at a later moment.
struct WatchCase
{
    const char* what;
    Request request;
    std::optional<Reply> answer; // arrives at 1 s
    Time looked_at;
    const char* status;      // 标签状态 then
    const char* card_status; // 标签卡状态 then
};

TEST(answer_watch, tells_of_every_request_whose_answer_does_not_come_in_time)
{
    const FingerprintEnrolmentAck step_one{1, true};
    const WatchCase cases[] = {
        {"volume read, not yet due", ReadVolume{}, std::nullopt, 1999ms, "", ""},
        {"volume read, due", ReadVolume{}, std::nullopt, 2s, "中控无应答", ""},
        {"volume read, answered", ReadVolume{}, VolumeData{3}, 60s, "", ""},
        {"another command's answer", ReadVolume{}, TimingsData{}, 2s, "中控无应答", ""},
        {"card read waits for a swipe", AwaitCard{}, std::nullopt, 14999ms, "", ""},
        {"card read, due", AwaitCard{}, std::nullopt, 15s, "中控无应答", "中控无应答"},
        {"card lookup", LookUpCard{7}, std::nullopt, 2s, "中控无应答", "中控无应答"},
        {"card count", ReadCardCount{}, std::nullopt, 2s, "中控无应答", "中控无应答"},
        {"card registration", RegisterCard{7}, std::nullopt, 2s, "中控无应答", "中控无应答"},
        {"card deletion", DeleteCard{7}, std::nullopt, 2s, "中控无应答", "中控无应答"},
        {"fingerprint deletion", DeleteFingerprint{}, std::nullopt, 2s, "中控无应答", ""},
        {"enrolment waits for a finger", EnrolFingerprint{}, std::nullopt, 14999ms, "", ""},
        {"next step waits anew", EnrolFingerprint{}, step_one, 15999ms, "", ""},
        {"next step, due", EnrolFingerprint{}, step_one, 16s, "中控无应答", ""},
        {"last step ends it", EnrolFingerprint{}, FingerprintEnrolmentAck{4, true}, 60s, "", ""},
        {"failed step ends it", EnrolFingerprint{}, FingerprintEnrolmentAck{2, false}, 60s, "", ""},
    };
    for (const WatchCase& c : cases) {
        SCOPED_TRACE(c.what);
        test::MemorySettingsWindow window;
        AnswerWatch watch;
        watch.sent(c.request, 0ms);
        if (c.answer) watch.answered(*c.answer, 1s);
        watch.expire(c.looked_at, window.view);
        EXPECT_EQ(window.标签状态.caption(), c.status);
        EXPECT_EQ(window.标签卡状态.caption(), c.card_status);
    }
}

TEST(answer_watch, tells_once_and_then_lets_a_late_answer_through)
{
    test::MemorySettingsWindow window;
    AnswerWatch watch;
    watch.sent(ReadControllerId{}, 0ms);
    watch.sent(ReadSwipeMode{}, 500ms);
    EXPECT_EQ(watch.next_deadline(), 2s);
    watch.expire(2s, window.view);
    EXPECT_EQ(watch.next_deadline(), 2500ms);
    window.标签状态.set_caption("中控ID读出成功"); // the late answer, as presented
    watch.answered(ControllerIdData{7}, 2100ms);
    watch.expire(2200ms, window.view);
    EXPECT_EQ(window.标签状态.caption(), "中控ID读出成功");
    watch.expire(2500ms, window.view);
    EXPECT_EQ(window.标签状态.caption(), "中控无应答");
    EXPECT_EQ(watch.next_deadline(), std::nullopt);
}

} // namespace
} // namespace zk::present
