#include "present/settings/fingerprints.h"

#include <string>

#include <gtest/gtest.h>

#include "page_fixture.h"

namespace zk::present {
namespace {

using test_page::Page;

TEST(fingerprints, add_prompts_for_a_finger_then_starts_enrolment)
{
    for (const char* before : {"", "录入指纹成功", "第二次录入失败,请重新输入"}) {
        Page page;
        page.window.编辑框指纹.set_content(before);
        on_add_fingerprint(page.context);
        EXPECT_EQ(page.window.编辑框指纹.content(), "请输入指纹");
        EXPECT_EQ(page.frames(), std::vector<std::string>{"48 53 33 FF 07 00 00 A5 C5 01 01 67"});
    }
}

TEST(fingerprints, delete_pause_and_resume_send_three_bytes_and_touch_nothing)
{
    struct Case
    {
        void (*handler)(SettingsContext&);
        const char* frame;
    };
    const Case cases[] = {
        {on_delete_fingerprint, "48 53 33 FF 06 00 00 A5 C5 02 64"},
        {on_pause_authorisation, "48 53 33 FF 06 00 00 A4 C5 01 66"},
        {on_resume_authorisation, "48 53 33 FF 06 00 00 A4 C5 00 67"},
    };
    for (const Case& c : cases) {
        Page page;
        page.window.编辑框指纹.set_content("录入指纹成功");
        page.window.编辑框授权.set_content("暂停授权检测");
        page.window.标签状态.set_caption("系统音量写入成功");
        c.handler(page.context);
        EXPECT_EQ(page.frames(), std::vector<std::string>{c.frame});
        EXPECT_EQ(page.window.编辑框指纹.content(), "录入指纹成功");
        EXPECT_EQ(page.window.编辑框授权.content(), "暂停授权检测");
        EXPECT_EQ(page.window.标签状态.caption(), "系统音量写入成功");
    }
}

TEST(fingerprints, every_failed_send_is_shown_in_the_status_line)
{
    for (auto handler : {on_add_fingerprint, on_delete_fingerprint, on_pause_authorisation,
                         on_resume_authorisation}) {
        Page page;
        page.sender.fail = true;
        handler(page.context);
        EXPECT_EQ(page.window.标签状态.caption(), "发送失败");
        EXPECT_EQ(page.sender.sends.size(), 1u);
    }
}

} // namespace
} // namespace zk::present
