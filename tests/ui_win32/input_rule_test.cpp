// The integer boxes' rule holds however the operator's text arrives at the edit control.
#include "ui/win32/settings_window.h"
#include "ui/win32/wide_text.h"
#include "ui_win32/win32_fixture.h"

namespace zk::win32::test {
namespace {

class input_rule : public WindowFixture
{};

TEST_F(input_rule, integer_boxes_refuse_whole_edits_that_bring_anything_but_digits_and_minus)
{
    FindWindow find(state, Ports{}, setup(), dispatcher);
    SettingsWindow settings(find.handle(), "10.99.0.20", Ports{}, links.opener(), dispatcher,
                            folder);
    settings.show();
    HWND volume = settings.control("编辑框系统音量");
    SetWindowTextW(volume, L"");
    SetFocus(volume);
    const struct
    {
        UINT message;
        std::wstring text; // typed character, or what the clipboard holds for WM_PASTE
        std::string after;
    } steps[] = {
        {WM_CHAR, L"1", "1"},         {WM_CHAR, L"a", "1"},         {WM_CHAR, L"-", "1-"},
        {WM_PASTE, L"12a3", "1-"},    {WM_PASTE, L"34", "1-34"},    {WM_IME_CHAR, L"五", "1-34"},
        {WM_IME_CHAR, L"５", "1-34"}, {WM_IME_CHAR, L"5", "1-345"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(narrow(step.text));
        SendMessageW(volume, EM_SETSEL, 0x7FFF, 0x7FFF); // caret at the end
        if (step.message == WM_PASTE) {
            set_clipboard(step.text);
            SendMessageW(volume, WM_PASTE, 0, 0);
        } else {
            SendMessageW(volume, step.message, step.text[0], 1);
        }
        pump(); // what the system turns into typed characters

        EXPECT_EQ(text_of(volume), step.after);
    }
    // Other boxes take any text, and the program's own texts are not checked.
    HWND card = settings.control("编辑框卡号");
    SendMessageW(card, WM_CHAR, L'a', 1);
    EXPECT_EQ(text_of(card), "a");
    settings.view().编辑框系统音量.set_content("x1");
    EXPECT_EQ(text_of(volume), "x1");
}

} // namespace
} // namespace zk::win32::test
