// The find window on the Windows API: each button reaches its handler, a search nobody answers
// is told, a taken port is told, and the found list takes answers in batches.
#include "present/find/find_watch.h"
#include "present/port_report.h"
#include "support/config_replies.h"
#include "support/hex.h"
#include "ui/win32/message_box.h"
#include "ui_win32/win32_fixture.h"

namespace zk::win32::test {
namespace {

using zk::test::config_reply_of;
using zk::test::from_hex;
using zk::test::search_reply_of;

const Bytes mac_a = from_hex("84 C2 E4 01 0A FF");
const Bytes mac_b = from_hex("84 C2 E4 00 00 02");

class find_window : public WindowFixture
{
protected:
    // The configuration codes of the datagrams sent since the last call.
    std::vector<int> take_codes()
    {
        std::vector<int> codes;
        for (const auto& sent : find_link().recorder.sends) {
            EXPECT_EQ(sent.address, "");
            EXPECT_EQ(sent.port, Ports{}.config_remote);
            codes.push_back(sent.data.size() > 16 ? sent.data[16] : -1);
        }
        find_link().recorder.sends.clear();
        return codes;
    }
    void click(const char* name)
    {
        SendMessageW(window.control(name), BM_CLICK, 0, 0);
        pump();
    }

    FindWindow window{state, Ports{}, setup(), dispatcher};
};

// The code bytes of the requests: search, read and write.
constexpr int search_request = 0x04;
constexpr int read_request = 0x02;
constexpr int write_request = 0x01;

TEST_F(find_window, each_button_and_the_list_reach_their_handlers)
{
    window.show();
    pump();
    click("按钮查找IP");
    EXPECT_EQ(take_codes(), std::vector<int>{search_request});

    find_link().deliver(search_reply_of(mac_a, "0A 63 00 14"));
    pump_for(std::chrono::milliseconds(100));
    HWND list = window.control("列表框中控IP");
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
    RECT first{};
    SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    click_at_centre(list, {(first.left + first.right) / 2, (first.top + first.bottom) / 2});
    EXPECT_EQ(take_codes(), std::vector<int>{read_request});

    find_link().deliver(config_reply_of(mac_a));
    EXPECT_EQ(text_of(window.control("编辑框中控IP")), "192.168.1.200");
    click("按钮设置IP");
    EXPECT_EQ(take_codes(), std::vector<int>{write_request});

    const int enumerations = adapters.enumerations;
    click("按钮刷新");
    EXPECT_EQ(adapters.enumerations, enumerations + 1);

    // The operator's pick of an adapter is remembered in system.ini.
    ASSERT_FALSE(std::filesystem::exists(folder / "system.ini"));
    HWND adapter_list = window.control("组合框网卡列表");
    SetFocus(adapter_list);
    SendMessageW(adapter_list, WM_KEYDOWN, VK_DOWN, 0);
    pump();
    EXPECT_EQ(SendMessageW(adapter_list, CB_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(std::filesystem::exists(folder / "system.ini"));
    EXPECT_EQ(find_link().interface_index, 3);

    click("按钮设置中控");
    ASSERT_NE(window.settings_window(), nullptr);
    EXPECT_EQ(window.settings_window()->controller_address(), "192.168.1.200");
    EXPECT_FALSE(IsWindowEnabled(window.handle()));
    // Esc closes it, as the message loop's keyboard navigation hands it on.
    HWND volume = window.settings_window()->control("编辑框系统音量");
    MSG escape{volume, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(window.settings_window()->handle(), &escape));
    EXPECT_EQ(window.settings_window(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(window.handle()));
    EXPECT_TRUE(take_codes().empty());
    EXPECT_TRUE(message_box_texts().empty());
}

TEST_F(find_window, a_search_nobody_answers_is_told_within_four_seconds)
{
    window.show();
    pump();
    const auto start = std::chrono::steady_clock::now();
    click("按钮查找IP");
    pump_for(std::chrono::seconds(5), [] { return !message_box_texts().empty(); });
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(message_box_texts(), std::vector<std::string>{std::string(present::msg_none_found)});
    EXPECT_LE(waited, std::chrono::seconds(4));
    // Our own box: its caption, the message in the window's font, one button.
    HWND box = ::FindWindowW(message_box_class, nullptr);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(text_of(box), "信息：");
    EXPECT_EQ(GetWindow(box, GW_OWNER), window.handle());
    HWND words = GetWindow(box, GW_CHILD);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(words, WM_GETFONT, 0, 0)),
              window.built().font());
    EXPECT_EQ(text_of(GetDlgItem(box, IDOK)), "确定");
    // The box is the window's: it takes no input until the box is closed.
    EXPECT_FALSE(IsWindowEnabled(window.handle()));
    close_message_boxes();
    EXPECT_TRUE(IsWindowEnabled(window.handle()));
}

TEST_F(find_window, answers_reach_the_list_together_and_program_selections_send_nothing)
{
    click("按钮查找IP");
    take_codes();
    for (const Bytes* mac : {&mac_a, &mac_b})
        find_link().deliver(search_reply_of(*mac, "0A 63 00 14"));
    HWND list = window.control("列表框中控IP");
    // The handlers see both at once; the list control gets them after the burst.
    EXPECT_EQ(window.view().列表框中控IP.item_count(), 2);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
    pump_for(std::chrono::milliseconds(300));
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
    window.view().列表框中控IP.set_selection(5);
    pump();
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(take_codes().empty());
}

class find_window_on_a_taken_port : public WindowFixture
{};

TEST_F(find_window_on_a_taken_port, is_told_once_over_the_shown_window)
{
    links.bound = false;
    FindWindow window(state, Ports{}, setup(), dispatcher);
    for (int shown = 0; shown < 2; ++shown) {
        window.show();
        pump_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(message_box_texts(), std::vector<std::string>{port_taken_message(60000)});
}

} // namespace
} // namespace zk::win32::test
