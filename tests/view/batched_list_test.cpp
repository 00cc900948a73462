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

// A list box whose widget is memory: the items it holds and its selection.
class MemoryListBox final : public BatchedListBox
{
public:
    explicit MemoryListBox(Dispatcher& dispatcher) : BatchedListBox(dispatcher) {}
    int selection() const override { return selected; }

    std::vector<std::string> held;
    int selected = -1;

protected:
    int shown() const override { return static_cast<int>(held.size()); }
    std::string shown_text(int index) const override { return held.at(position(index)); }
    void show(const std::vector<std::string>& texts) override
    {
        held.insert(held.end(), texts.begin(), texts.end());
    }
    void remove(int index) override { held.erase(held.begin() + index); }
    void replace(int index, std::string_view text) override { held.at(position(index)) = text; }
    void clear() override { held.clear(); }
    void select_shown(int index) override { selected = index; }

private:
    static std::size_t position(int index) { return static_cast<std::size_t>(index); }
};

// Each check fails on one slip of the list box: a waiting item not counted or not readable, a
// change by index made before the waiting items are in the widget (it would miss them or hit
// another), or an emptied list that still holds what waited.
TEST(batched_list_box, waiting_items_are_items_and_a_change_by_index_puts_them_in_first)
{
    ManualDispatcher dispatcher;
    MemoryListBox list(dispatcher);
    list.add_item("a");
    EXPECT_EQ(list.add_item("b"), 1);
    EXPECT_EQ(list.item_count(), 2);
    EXPECT_EQ(list.item_text(1), "b");
    EXPECT_EQ(list.item_text(2), "");
    EXPECT_EQ(list.item_text(-1), "");
    EXPECT_TRUE(list.held.empty());

    list.set_selection(1);
    EXPECT_EQ(list.held, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(list.selected, 1);
    list.add_item("c");
    EXPECT_TRUE(list.set_item_text(2, "C"));
    list.add_item("d");
    EXPECT_TRUE(list.delete_item(3));
    EXPECT_EQ(list.held, (std::vector<std::string>{"a", "b", "C"}));
    EXPECT_FALSE(list.delete_item(3));
    EXPECT_FALSE(list.set_item_text(-1, "x"));

    list.add_item("e");
    list.delete_all_items();
    EXPECT_EQ(list.item_count(), 0);
    EXPECT_TRUE(list.held.empty());
}

} // namespace
} // namespace zk::view
