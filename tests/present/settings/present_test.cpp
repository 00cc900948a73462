#include "present/settings/present.h"

#include <gtest/gtest.h>
#include <map>

#include "support/hex.h"
#include "support/memory_controls.h"
#include "support/recording_sender.h"

namespace zk::present {

using protocol::ControllerLink;
namespace {

using test::from_hex;
using test::to_hex;
using Texts = std::map<std::string, std::string>;

// Every control a reply may touch, by name; combo boxes by selected index, the check box as 0/1.
Texts texts_of(const test::MemorySettingsWindow& w)
{
    return {
        {"标签状态", w.标签状态.caption()},
        {"编辑框系统音量", w.编辑框系统音量.content()},
        {"编辑框中控ID", w.编辑框中控ID.content()},
        {"选择框刷卡开机", w.选择框刷卡开机.checked() ? "1" : "0"},
        {"编辑框投影机预热时间", w.编辑框投影机预热时间.content()},
        {"编辑框投影机散热时间", w.编辑框投影机散热时间.content()},
        {"编辑框幕布时间", w.编辑框幕布时间.content()},
        {"组合框波特率", std::to_string(w.组合框波特率.selection())},
        {"组合框校验方式", std::to_string(w.组合框校验方式.selection())},
        {"编辑框开机码", w.编辑框开机码.content()},
        {"编辑框关机码", w.编辑框关机码.content()},
        {"编辑框视频码", w.编辑框视频码.content()},
        {"编辑框电脑码", w.编辑框电脑码.content()},
        {"标签卡数量", w.标签卡数量.caption()},
        {"标签指纹数量", w.标签指纹数量.caption()},
        {"编辑框卡号", w.编辑框卡号.content()},
        {"标签卡状态", w.标签卡状态.caption()},
        {"编辑框授权", w.编辑框授权.content()},
        {"编辑框指纹", w.编辑框指纹.content()},
    };
}

class present : public ::testing::Test
{
protected:
    // Feeds the datagram and returns every control that changed, with its new text.
    Texts changes_after(const char* hex)
    {
        const Texts before = texts_of(window);
        on_settings_datagram(from_hex(hex), window.view, link);
        Texts changed;
        for (const auto& [name, text] : texts_of(window)) {
            if (before.at(name) != text) changed[name] = text;
        }
        return changed;
    }

    test::MemorySettingsWindow window;
    test::RecordingSender sender;
    ControllerLink link{sender, "10.0.0.7", 16006};
};

TEST_F(present, shows_each_answer_in_its_controls)
{
    window.编辑框卡号.set_content("777");
    const struct
    {
        const char* frame;
        Texts changed;
    } cases[] = {
        {"48 53 33 FF 07 00 00 A8 00 01 07 A9",
         {{"编辑框系统音量", "7"}, {"标签状态", "系统音量读出成功"}}},
        {"48 53 33 FF 06 00 00 A8 55 01 FA", {{"标签状态", "系统音量写入成功"}}},
        {"48 53 33 FF 09 00 00 41 00 02 1E 3C 5A 32",
         {{"编辑框幕布时间", "30"},
          {"编辑框投影机预热时间", "60"},
          {"编辑框投影机散热时间", "90"},
          {"标签状态", "系统时间读出成功"}}},
        {"48 53 33 FF 05 00 00 41 55 11", {{"标签状态", "系统时间写入成功"}}},
        {"48 53 33 FF 07 00 00 92 00 01 2C B8",
         {{"编辑框中控ID", "300"}, {"标签状态", "中控ID读出成功"}}},
        {"48 53 33 FF 05 00 00 92 55 C2", {{"标签状态", "中控ID写入成功"}}},
        {"48 53 33 FF 06 00 00 A4 55 00 F7", {{"编辑框授权", "恢复授权检测"}}},
        {"48 53 33 FF 06 00 00 A4 55 01 F6", {{"编辑框授权", "暂停授权检测"}}},
        {"48 53 33 FF 07 00 00 A5 00 02 01 A1", {{"标签卡状态", "找到卡号:777"}}},
        {"48 53 33 FF 07 00 00 A5 00 02 07 A7", {{"标签卡状态", "未登记卡号:777"}}},
        {"48 53 33 FF 07 00 00 A5 55 03 01 F5", {{"标签卡状态", "删除卡号:777"}}},
        {"48 53 33 FF 07 00 00 A5 55 03 00 F4", {{"标签卡状态", "未登记卡号:777"}}},
        {"48 53 33 FF 07 00 00 A5 55 00 00 F7",
         {{"标签状态", "卡号登记失败"}, {"标签卡状态", "卡号登记失败"}}},
        {"48 53 33 FF 07 00 00 A5 55 00 01 F6",
         {{"标签状态", "卡号登记成功"}, {"标签卡状态", "卡号登记成功"}}},
        {"48 53 33 FF 07 00 00 A5 55 00 02 F5",
         {{"标签状态", "卡号已存在"}, {"标签卡状态", "卡号已存在"}}},
        {"48 53 33 FF 07 00 00 A5 55 02 00 F5", {{"编辑框指纹", "删除指纹失败"}}},
        {"48 53 33 FF 07 00 00 A5 55 02 01 F4", {{"编辑框指纹", "删除指纹成功"}}},
        {"48 53 33 FF 05 00 00 A6 55 F6", {{"标签状态", "刷卡模式设置成功"}}},
        {"48 53 33 FF 07 00 00 A9 00 01 02 AD", {{"标签指纹数量", "已登记指纹数量:258"}}},
        {"48 53 33 FF 05 00 00 45 55 15", {{"标签状态", "投影码写入成功"}}},
        {"48 53 33 FF 0B 00 00 A5 00 00 00 FF FF FF FF AE",
         {{"编辑框卡号", "4294967295"},
          {"标签状态", "卡号读出成功"},
          {"标签卡状态", "卡号读出成功"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frame);
        // Clear the places a previous case wrote, so each case shows its own change.
        window.标签状态.set_caption("");
        window.标签卡状态.set_caption("");
        window.编辑框指纹.set_content("");
        window.编辑框授权.set_content("");
        EXPECT_EQ(changes_after(c.frame), c.changed);
    }
    EXPECT_TRUE(sender.sends.empty());
}

TEST_F(present, swipe_mode_sets_the_check_box)
{
    EXPECT_EQ(changes_after("48 53 33 FF 06 00 00 A6 00 00 A0"),
              (Texts{{"标签状态", "刷卡模式"}, {"选择框刷卡开机", "1"}}));
    EXPECT_EQ(changes_after("48 53 33 FF 06 00 00 A6 00 02 A2"),
              (Texts{{"标签状态", "公开模式"}, {"选择框刷卡开机", "0"}}));
}

TEST_F(present, enrolment_steps_show_their_prompts)
{
    const struct
    {
        const char* frame;
        const char* text;
    } cases[] = {
        {"48 53 33 FF 08 00 00 A5 55 01 01 00 F8", "第一次录入失败,请重新输入"},
        {"48 53 33 FF 08 00 00 A5 55 01 01 01 F9", "第一次录入成功,再次输入"},
        {"48 53 33 FF 08 00 00 A5 55 01 02 00 FB", "第二次录入失败,请重新输入"},
        {"48 53 33 FF 08 00 00 A5 55 01 02 01 FA", "第二次录入成功,再次输入"},
        {"48 53 33 FF 08 00 00 A5 55 01 03 00 FA", "第三次录入失败,请重新输入"},
        {"48 53 33 FF 08 00 00 A5 55 01 03 01 FB", "第三次录入成功,再次输入"},
        {"48 53 33 FF 08 00 00 A5 55 01 04 00 FD", "第四次录入失败,请重新输入"},
        {"48 53 33 FF 08 00 00 A5 55 01 04 01 FC", "录入指纹成功"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frame);
        EXPECT_EQ(changes_after(c.frame), (Texts{{"编辑框指纹", c.text}}));
    }
}

TEST_F(present, card_count_asks_for_the_fingerprint_count)
{
    EXPECT_EQ(changes_after("48 53 33 FF 08 00 00 A5 00 01 00 0C A0"),
              (Texts{{"标签卡数量", "已登记卡数量：12"}}));
    ASSERT_EQ(sender.sends.size(), 1u);
    EXPECT_EQ(to_hex(sender.sends[0].data), "48 53 33 FF 05 00 00 A9 00 AC");
    EXPECT_EQ(sender.sends[0].address, "10.0.0.7");
    EXPECT_EQ(sender.sends[0].port, 16006);
}

TEST_F(present, failed_fingerprint_count_request_is_reported)
{
    sender.fail = true;
    EXPECT_EQ(changes_after("48 53 33 FF 08 00 00 A5 00 01 00 0C A0"),
              (Texts{{"标签卡数量", "已登记卡数量：12"}, {"标签状态", "发送失败"}}));
}

TEST_F(present, projector_codes_select_and_append)
{
    window.编辑框开机码.set_content("X ");
    EXPECT_EQ(changes_after("48 53 33 FF 0E 00 00 45 00 00 25 80 02 08 01 CE CE 02 0A FF "
                            "CE 00 00"),
              (Texts{{"标签状态", "投影码读出成功"},
                     {"组合框波特率", "4"},
                     {"组合框校验方式", "2"},
                     {"编辑框开机码", "X 0A FF "}}));
    // Baud 1 selects "1200", the first item beginning with 1; parity 9 the last item.
    EXPECT_EQ(changes_after("48 53 33 FF 0E 00 00 45 00 00 00 01 09 08 01 CE CE 00 CE CE 01 11 "
                            "CE CE 02 00 05 CE CE 01 CE 77"),
              (Texts{{"组合框波特率", "1"},
                     {"编辑框关机码", "11 "},
                     {"编辑框视频码", "00 05 "},
                     {"编辑框电脑码", "CE "}}));
}

TEST_F(present, projector_codes_apply_what_is_present)
{
    window.组合框波特率.set_selection(2);
    window.组合框校验方式.set_selection(1);
    // A rate no item begins with leaves the selection; without a parity byte it stays too.
    EXPECT_EQ(changes_after("48 53 33 FF 08 00 00 45 00 00 00 07"),
              (Texts{{"标签状态", "投影码读出成功"}}));
    // One byte short of the rate: the codes were read, but the rate and parity stay as shown.
    window.标签状态.set_caption("");
    EXPECT_EQ(changes_after("48 53 33 FF 08 00 00 45 00 00 25"),
              (Texts{{"标签状态", "投影码读出成功"}}));
    EXPECT_EQ(window.组合框波特率.selection(), 2);
}

TEST_F(present, ignored_datagrams_change_nothing)
{
    const char* ignored[] = {
        "48 53 33 FF 05 00 00 A6",
        "48 53 34 FF 05 00 00 A6 55 F6",
        "48 53 33 FF 07 00 00 A8 00 02 07 AA",
        "48 53 33 FF 08 00 00 A5 55 01 05 01 FD",
        "48 53 33 FF 08 00 00 A5 55 01 01 02 FB",
        "48 53 33 FF 0B 00 00 A5 00 00 00 00 12 D6",
        "",
    };
    for (const char* hex : ignored) {
        SCOPED_TRACE(hex);
        EXPECT_EQ(changes_after(hex), Texts{});
    }
    EXPECT_TRUE(sender.sends.empty());
}

} // namespace
} // namespace zk::present
