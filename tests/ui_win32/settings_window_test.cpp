// The settings window on the Windows API: each button's click reaches its handler (one request of
// the handler's kind), the operator's change of page too, and a request nobody answers is told.
#include "present/settings/answer_watch.h"
#include "protocol/hs3_frame.h"
#include "protocol/request.h"
#include "ui/win32/settings_window.h"
#include "ui_win32/win32_fixture.h"

namespace zk::win32::test {
namespace {

using namespace zk::protocol;

class settings_window : public WindowFixture
{
protected:
    // The kinds (Request alternatives) of the requests sent since the last call; -1 for a
    // datagram that is no request.
    std::vector<int> take_kinds()
    {
        std::vector<int> kinds;
        for (const auto& sent : settings_link().recorder.sends) {
            EXPECT_EQ(sent.address, "10.99.0.20");
            EXPECT_EQ(sent.port, Ports{}.hs3_remote);
            const auto payload = unwrap_frame(sent.data);
            const auto request = payload ? decode_request(*payload) : std::nullopt;
            kinds.push_back(request ? static_cast<int>(request->index()) : -1);
        }
        settings_link().recorder.sends.clear();
        return kinds;
    }
    void show_page(int page)
    {
        click_tab(settings.control("选择夹1"), page);
        take_kinds();
    }

    FindWindow find{state, Ports{}, setup(), dispatcher};
    SettingsWindow settings{find.handle(),  "10.99.0.20", Ports{},
                            links.opener(), dispatcher,   folder};
};

template <class Kind> int kind()
{
    return static_cast<int>(Request{Kind{}}.index());
}

TEST_F(settings_window, each_button_sends_one_request_of_its_kind)
{
    settings.show();
    const struct
    {
        const char* button;
        int page;
        int kind;
    } buttons[] = {
        {"按钮读系统音量", 0, kind<ReadVolume>()},
        {"按钮写系统音量", 0, kind<WriteVolume>()},
        {"按钮读中控ID", 0, kind<ReadControllerId>()},
        {"按钮写中控ID", 0, kind<WriteControllerId>()},
        {"按钮读刷卡开机", 0, kind<ReadSwipeMode>()},
        {"按钮写刷卡开机", 0, kind<WriteSwipeMode>()},
        {"按钮读时间", 0, kind<ReadTimings>()},
        {"按钮写时间", 0, kind<WriteTimings>()},
        {"按钮读串口码", 1, kind<ReadProjectorCodes>()},
        {"按钮写串口码", 1, kind<WriteProjectorCodes>()},
        {"按钮写卡", 2, kind<RegisterCard>()},
        {"按钮查看", 2, kind<LookUpCard>()},
        {"按钮删卡", 2, kind<DeleteCard>()},
        {"按钮暂停授权", 2, kind<SetAuthorisation>()},
        {"按钮恢复授权", 2, kind<SetAuthorisation>()},
        {"按钮添加指纹", 2, kind<EnrolFingerprint>()},
        {"按钮删除指纹", 2, kind<DeleteFingerprint>()},
        // Last: it empties 编辑框卡号 for the card to come.
        {"按钮读卡", 2, kind<AwaitCard>()},
    };
    for (const char* box : {"编辑框投影机预热时间", "编辑框投影机散热时间", "编辑框幕布时间"})
        SetWindowTextW(settings.control(box), L"30");
    SetWindowTextW(settings.control("编辑框卡号"), L"12345");
    int page = 0;
    for (const auto& entry : buttons) {
        SCOPED_TRACE(entry.button);
        if (entry.page != page) show_page(page = entry.page);
        SendMessageW(settings.control(entry.button), BM_CLICK, 0, 0);
        pump();
        EXPECT_EQ(take_kinds(), std::vector<int>{entry.kind});
    }
}

TEST_F(settings_window, the_operators_change_of_page_reaches_its_handler)
{
    settings.show();
    click_tab(settings.control("选择夹1"), 2);
    EXPECT_EQ(settings.view().选择夹1.current_page(), 2);
    EXPECT_TRUE(IsWindowVisible(settings.control("按钮读卡")));
    EXPECT_FALSE(IsWindowVisible(settings.control("按钮读系统音量")));
    // The page of cards asks for their count when it is shown.
    EXPECT_EQ(take_kinds(), std::vector<int>{kind<ReadCardCount>()});
}

TEST_F(settings_window, a_projector_model_picked_fills_the_page_also_when_picked_again)
{
    settings.show();
    show_page(1);
    HWND models = settings.control("组合框投影机型号");
    HWND power_on = settings.control("编辑框开机码");
    ASSERT_GT(SendMessageW(models, CB_GETCOUNT, 0, 0), 2); // entries, then the two file items
    SetFocus(models);
    SendMessageW(models, WM_KEYDOWN, VK_DOWN, 0); // the closed list, by keyboard
    pump();
    ASSERT_EQ(SendMessageW(models, CB_GETCURSEL, 0, 0), 0);
    const std::string codes = text_of(power_on);
    EXPECT_FALSE(codes.empty());
    SetWindowTextW(power_on, L"");
    SendMessageW(models, CB_SHOWDROPDOWN, TRUE, 0); // the open list, the same entry again
    SendMessageW(models, WM_KEYDOWN, VK_RETURN, 0);
    pump();
    EXPECT_EQ(text_of(power_on), codes);
    EXPECT_TRUE(take_kinds().empty());
}

TEST_F(settings_window, a_request_nobody_answers_is_told_in_the_status_line)
{
    settings.show();
    SendMessageW(settings.control("按钮读系统音量"), BM_CLICK, 0, 0);
    pump_for(std::chrono::seconds(5),
             [this] { return text_of(settings.control("标签状态")) == present::msg_no_answer; });
    EXPECT_EQ(text_of(settings.control("标签状态")), present::msg_no_answer);
}

} // namespace
} // namespace zk::win32::test
