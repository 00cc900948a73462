#include "view/layout.h"

#include <gtest/gtest.h>

namespace zk::view {
namespace {

TEST(input_rule, integer_boxes_hold_digits_and_minus_only)
{
    const struct
    {
        Input rule;
        std::string_view text;
        bool accepted;
    } cases[] = {
        {Input::integer, "", true},     {Input::integer, "1-234", true},
        {Input::integer, "-", true},    {Input::integer, "12a3", false},
        {Input::integer, "+1", false},  {Input::integer, " 1", false},
        {Input::integer, "1.5", false}, {Input::integer, "\xEF\xBC\x95", false}, // full-width 5
        {Input::integer, "五", false},  {Input::any, "12a3", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(accepts_input(c.rule, c.text), c.accepted);
    }
}

TEST(layout, places_count_from_the_client_area_through_group_boxes_and_the_tab_control)
{
    const struct
    {
        const WindowLayout& window;
        std::string_view name;
        int x, y, page;
    } cases[] = {
        {find_window_layout(), "按钮刷新", 488, 1, -1},
        {find_window_layout(), "编辑框中控IP", 8 + 81, 39 + 28, -1},
        {settings_window_layout(), "标签状态", 8, 416, -1},
        {settings_window_layout(), "按钮输入", 3 + 157, 8 + 336, 1},
        {settings_window_layout(), "标签3", 3 + 21 + 48, 8 + 144 + 32, 0},
        {settings_window_layout(), "编辑框命令文本", 3 + 55 + 210, 8 + 261 + 26, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name));
        const ControlLayout* control = find_control(c.window, c.name);
        ASSERT_NE(control, nullptr);
        const Rect place = client_place(c.window, *control);
        EXPECT_EQ(place.x, c.x);
        EXPECT_EQ(place.y, c.y);
        EXPECT_EQ(place.width, control->place.width);
        EXPECT_EQ(page_of(c.window, *control), c.page);
    }
}

} // namespace
} // namespace zk::view
