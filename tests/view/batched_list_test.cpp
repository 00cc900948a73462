#include "view/batched_list.h"

#include <gtest/gtest.h>

#include "support/manual_dispatcher.h"

namespace zk::view {
namespace {

using namespace std::chrono_literals;
using Clock = BatchedList::Clock;

using test::ManualDispatcher;

class batched_list : public ::testing::Test
{
protected:
    Clock::time_point at(std::chrono::milliseconds ms) { return Clock::time_point{} + ms; }

    ManualDispatcher dispatcher;
    std::vector<std::vector<std::string>> shown;
    BatchedList list{dispatcher, [this](const auto& texts) { shown.push_back(texts); },
                     [this] { return dispatcher.now; }};
};

TEST_F(batched_list, a_burst_is_shown_whole_once_additions_stop_for_ten_milliseconds)
{
    const struct
    {
        int at_ms;
        const char* text;
    } additions[] = {{0, "a"}, {4, "b"}, {9, "c"}, {17, "d"}};
    for (const auto& addition : additions) {
        dispatcher.advance_to(at(std::chrono::milliseconds(addition.at_ms)));
        list.add(addition.text);
    }
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(list.waiting(), 4u);
    EXPECT_EQ(list.waiting_text(2), "c");
    EXPECT_EQ(list.waiting_text(4), "");
    dispatcher.advance_to(at(26ms));
    EXPECT_TRUE(shown.empty()) << "9 ms after the last addition";
    dispatcher.advance_to(at(27ms));
    EXPECT_EQ(shown, (std::vector<std::vector<std::string>>{{"a", "b", "c", "d"}}));
    EXPECT_EQ(list.waiting(), 0u);
    EXPECT_EQ(dispatcher.pending(), 0u);
}

TEST_F(batched_list, a_stream_without_pause_is_shown_every_quarter_second)
{
    for (int ms = 0; ms < 600; ms += 5) {
        dispatcher.advance_to(at(std::chrono::milliseconds(ms)));
        list.add(std::to_string(ms));
    }
    // Shown at 250 ms and at 500 ms, each time all that had come.
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].front(), "0");
    EXPECT_EQ(shown[0].back(), "245");
    EXPECT_EQ(shown[1].front(), "250");
    EXPECT_EQ(shown[1].back(), "495");
    // A timer moves only when it fires, never per addition.
    EXPECT_EQ(dispatcher.pending(), 1u);
}

TEST_F(batched_list, flush_shows_at_once_and_drop_forgets_what_waits)
{
    list.add("a");
    list.flush();
    EXPECT_EQ(shown, (std::vector<std::vector<std::string>>{{"a"}}));
    list.flush(); // nothing waits: nothing shown
    list.add("b");
    list.drop();
    dispatcher.advance_to(at(1s));
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(list.waiting(), 0u);
    EXPECT_EQ(dispatcher.pending(), 0u);
}

} // namespace
} // namespace zk::view
