#include <gtest/gtest.h>

#include "page_fixture.h"
#include "present/settings/identity_volume.h"
#include "present/settings/timings_mode.h"

namespace zk::present {
namespace {

class page_basic : public ::testing::Test, protected test_page::Page
{};

TEST_F(page_basic, writes_the_identity_high_byte_first)
{
    const std::pair<const char*, const char*> cases[] = {
        {"300", "92 C5 01 2C"}, {"65535", "92 C5 FF FF"}, {"0", "92 C5 00 00"},
        {"", "92 C5 00 00"},    {"abc", "92 C5 00 00"},   {"300.9", "92 C5 01 2C"},
        {"-0.5", "92 C5 00 00"}};
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        sender.sends.clear();
        window.编辑框中控ID.set_content(text);
        on_write_controller_id(context);
        EXPECT_EQ(payload(), expected);
    }
}

TEST_F(page_basic, writes_one_byte_fields_as_typed)
{
    const std::pair<const char*, const char*> volumes[] = {
        {"7", "A8 C5 01 07"}, {"255", "A8 C5 01 FF"}, {"", "A8 C5 01 00"}, {"5.7", "A8 C5 01 05"}};
    for (const auto& [text, expected] : volumes) {
        SCOPED_TRACE(text);
        sender.sends.clear();
        window.编辑框系统音量.set_content(text);
        on_write_volume(context);
        EXPECT_EQ(payload(), expected);
    }
    // Screen, warm-up, cool-down: the order of the payload, not of the labels. The printed
    // range 1-180 is not enforced.
    const struct
    {
        const char *screen, *warm_up, *cool_down, *expected;
    } times[] = {{"30", "60", "90", "41 C5 02 1E 3C 5A"},
                 {"0", "200", "", "41 C5 02 00 C8 00"},
                 {"255", "1", "181", "41 C5 02 FF 01 B5"}};
    for (const auto& t : times) {
        SCOPED_TRACE(t.expected);
        sender.sends.clear();
        window.编辑框幕布时间.set_content(t.screen);
        window.编辑框投影机预热时间.set_content(t.warm_up);
        window.编辑框投影机散热时间.set_content(t.cool_down);
        on_write_timings(context);
        EXPECT_EQ(payload(), t.expected);
    }
}

TEST_F(page_basic, refuses_numbers_that_do_not_fit_and_sends_nothing)
{
    const struct
    {
        EditBox& box;
        const char* text;
        void (*handler)(SettingsContext&);
        const char* message;
    } cases[] = {
        {window.编辑框中控ID, "70000", on_write_controller_id, "中控ID超出范围(0-65535)"},
        {window.编辑框中控ID, "-1", on_write_controller_id, "中控ID超出范围(0-65535)"},
        {window.编辑框中控ID, "65536", on_write_controller_id, "中控ID超出范围(0-65535)"},
        {window.编辑框系统音量, "300", on_write_volume, "系统音量超出范围(0-255)"},
        {window.编辑框系统音量, "-1", on_write_volume, "系统音量超出范围(0-255)"},
        {window.编辑框系统音量, "256", on_write_volume, "系统音量超出范围(0-255)"},
        {window.编辑框幕布时间, "256", on_write_timings, "投影机幕布升降间隔时间超出范围(0-255)"},
        {window.编辑框投影机预热时间, "300", on_write_timings, "投影机预热时间超出范围(0-255)"},
        {window.编辑框投影机散热时间, "-3", on_write_timings, "投影机散热时间超出范围(0-255)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.message) + " " + c.text);
        window.编辑框幕布时间.set_content("1");
        window.编辑框投影机预热时间.set_content("1");
        window.编辑框投影机散热时间.set_content("1");
        window.标签状态.set_caption("");
        c.box.set_content(c.text);
        c.handler(context);
        EXPECT_EQ(window.标签状态.caption(), c.message);
        EXPECT_TRUE(sender.sends.empty());
    }
}

TEST_F(page_basic, reads_and_mode_send_their_frames_and_touch_no_box)
{
    window.编辑框中控ID.set_content("12");
    window.编辑框系统音量.set_content("999");
    on_read_controller_id(context);
    on_read_volume(context);
    on_read_timings(context);
    on_read_swipe_mode(context);
    window.选择框刷卡开机.set_checked(true);
    on_write_swipe_mode(context);
    window.选择框刷卡开机.set_checked(false);
    on_write_swipe_mode(context);
    EXPECT_EQ(frames(), (std::vector<std::string>{
                            "48 53 33 FF 05 00 00 92 00 97",
                            "48 53 33 FF 06 00 00 A8 00 01 AF",
                            "48 53 33 FF 05 00 00 41 00 44",
                            "48 53 33 FF 05 00 00 A6 00 A3",
                            "48 53 33 FF 06 00 00 A6 C5 00 65",
                            "48 53 33 FF 06 00 00 A6 C5 02 67",
                        }));
    EXPECT_EQ(window.编辑框中控ID.content(), "12");
    EXPECT_EQ(window.编辑框系统音量.content(), "999");
    EXPECT_FALSE(window.选择框刷卡开机.checked());
    EXPECT_EQ(sender.sends[0].address, "192.168.1.200");
    EXPECT_EQ(sender.sends[0].port, 16006);
}

TEST_F(page_basic, failed_send_is_shown)
{
    sender.fail = true;
    void (*handlers[])(SettingsContext&) = {
        on_read_controller_id, on_write_controller_id, on_read_volume,     on_write_volume,
        on_read_timings,       on_write_timings,       on_read_swipe_mode, on_write_swipe_mode};
    for (auto* handler : handlers) {
        window.标签状态.set_caption("");
        handler(context);
        EXPECT_EQ(window.标签状态.caption(), "发送失败");
    }
    EXPECT_EQ(sender.sends.size(), std::size(handlers));
}

} // namespace
} // namespace zk::present
