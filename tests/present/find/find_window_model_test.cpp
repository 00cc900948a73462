#include "present/find/find_window_model.h"

#include <set>

#include <gtest/gtest.h>

#include "present/find/open_settings.h"
#include "present/port_report.h"
#include "support/action_table.h"
#include "support/config_replies.h"
#include "support/hex.h"
#include "support/manual_dispatcher.h"
#include "support/memory_controls.h"
#include "support/recording_link.h"

namespace zk::present {
namespace {

// Two adapters, the second selected once the operator picks it; counts what the window asks.
class CountedChoice final : public AdapterChoice
{
public:
    void fill() override { ++fills; }
    void restore() override { ++restores; }
    void remember(MessageBoxes&) override
    {
        ++remembered;
        selected = 3;
    }
    const std::vector<Adapter>& adapters() const override { return list; }
    int selected_interface() const override { return selected; }

    std::vector<Adapter> list{{"eth0 10.99.0.1", 2, "10.99.0.1", true},
                              {"eth1 10.98.0.1", 3, "10.98.0.1", true}};
    int selected = 2;
    int fills = 0, restores = 0, remembered = 0;
};

class find_window_model : public ::testing::Test
{
protected:
    void run(std::string_view control)
    {
        for (const view::ControlAction& action : model.actions()) {
            if (action.control == control) return action.run();
        }
        FAIL() << "no action for " << control;
    }
    test::RecordingLink& link() { return *links.by_port.at(Ports{}.find_local); }

    test::ManualDispatcher dispatcher;
    test::MemoryControlFactory factory;
    view::ControlSet controls{view::find_window_layout(), factory};
    test::RecordingMessageBoxes boxes;
    test::RecordingLinks links;
    CountedChoice adapters;
    AppState state;
    int settings_opened = 0;
    FindWindowModel model{{controls, boxes, dispatcher, links.opener(),
                           [] { return std::vector<std::string>{"10.99.0.1"}; },
                           [this] { ++settings_opened; }},
                          adapters,
                          state,
                          Ports{}};
};

TEST_F(find_window_model, opens_with_the_saved_adapter_and_broadcasts_follow_each_pick)
{
    EXPECT_EQ(adapters.fills, 1);
    EXPECT_EQ(adapters.restores, 1);
    EXPECT_EQ(link().interface_index, 2);
    // Search answers may come gathered; nothing else.
    ASSERT_NE(link().bursts, nullptr);
    EXPECT_TRUE(
        link().bursts(test::search_reply_of(test::from_hex("84 C2 E4 01 0A FF"), "0A 63 00 14")));

    run("组合框网卡列表");
    EXPECT_EQ(adapters.remembered, 1);
    EXPECT_EQ(link().interface_index, 3);
    adapters.selected = 5;
    run("按钮刷新");
    EXPECT_EQ(adapters.fills, 2);
    EXPECT_EQ(link().interface_index, 5);
    EXPECT_TRUE(link().recorder.sends.empty());
}

TEST_F(find_window_model, answers_reach_the_list_through_the_link)
{
    run("按钮查找IP");
    ASSERT_EQ(link().recorder.sends.size(), 1u);
    EXPECT_EQ(link().recorder.sends[0].address, "");
    EXPECT_EQ(link().recorder.sends[0].port, Ports{}.config_remote);
    EXPECT_EQ(dispatcher.pending(), 1u) << "the search waits for its answer";
    link().deliver(test::search_reply_of(test::from_hex("84 C2 E4 01 0A FF"), "0A 63 00 14"));
    EXPECT_EQ(model.view().列表框中控IP.item_count(), 1);
    // The answer ended the search's wait: no timer is left to tell it.
    EXPECT_EQ(dispatcher.pending(), 0u);
}

TEST_F(find_window_model, the_settings_window_opens_only_for_an_address)
{
    const struct
    {
        const char* typed;
        int opened;
        std::vector<std::string> told;
    } cases[] = {
        {"", 0, {std::string(msg_enter_controller_ip)}},
        {" 192.168.1.200 ", 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        settings_opened = 0;
        boxes.shown.clear();
        model.view().编辑框中控IP.set_content(c.typed);
        run("按钮设置中控");
        EXPECT_EQ(settings_opened, c.opened);
        EXPECT_EQ(boxes.shown, c.told);
    }
    EXPECT_EQ(state.controller_address, "192.168.1.200");
}

TEST_F(find_window_model, a_taken_port_is_told_once_after_the_first_show)
{
    test::RecordingLinks taken;
    taken.bound = false;
    FindWindowModel window{
        {controls, boxes, dispatcher, taken.opener(), {}, {}}, adapters, state, Ports{}};
    window.shown();
    EXPECT_TRUE(boxes.shown.empty()) << "only once the window has painted";
    dispatcher.advance_to(dispatcher.now + std::chrono::milliseconds(1));
    window.shown();
    dispatcher.advance_to(dispatcher.now + std::chrono::milliseconds(1));
    EXPECT_EQ(boxes.shown, std::vector<std::string>{port_taken_message(Ports{}.find_local)});
}

TEST_F(find_window_model, actions_name_controls_of_the_layout_that_raise_an_event)
{
    test::expect_actions_cover(model.actions(), view::find_window_layout());
}

} // namespace
} // namespace zk::present
