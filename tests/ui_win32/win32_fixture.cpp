#include "ui_win32/win32_fixture.h"

#include <commctrl.h>

#include "support/wait.h"
#include "ui/win32/message_box.h"
#include "ui/win32/native_window.h"
#include "ui/win32/wide_text.h"

namespace zk::win32::test {

void pump()
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void pump_for(std::chrono::milliseconds time, const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + time;
    while (std::chrono::steady_clock::now() < end) {
        pump();
        if (done && done()) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    pump();
}

namespace {

BOOL CALLBACK collect_box(HWND window, LPARAM boxes)
{
    if (class_of(window) == narrow(message_box_class))
        reinterpret_cast<std::vector<HWND>*>(boxes)->push_back(window);
    return TRUE;
}

std::vector<HWND> open_boxes()
{
    std::vector<HWND> boxes;
    EnumThreadWindows(GetCurrentThreadId(), collect_box, reinterpret_cast<LPARAM>(&boxes));
    // The system lists the newest first.
    return {boxes.rbegin(), boxes.rend()};
}

} // namespace

std::vector<std::string> message_box_texts()
{
    std::vector<std::string> texts;
    for (HWND box : open_boxes())
        texts.push_back(text_of(GetWindow(box, GW_CHILD)));
    return texts;
}

void close_message_boxes()
{
    for (HWND box : open_boxes())
        SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    pump();
}

std::string class_of(HWND control)
{
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    return narrow(name);
}

RECT rect_in_parent(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string text_of(HWND control)
{
    return narrow(window_text(control));
}

void click_at_centre(HWND control, POINT at)
{
    const LPARAM where = MAKELPARAM(at.x, at.y);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, where);
    SendMessageW(control, WM_LBUTTONUP, 0, where);
    pump();
}

void click_tab(HWND tab, int page)
{
    RECT item{};
    SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item));
    click_at_centre(tab, {(item.left + item.right) / 2, (item.top + item.bottom) / 2});
}

void set_clipboard(std::wstring_view text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    auto* copy = static_cast<wchar_t*>(GlobalLock(memory));
    text.copy(copy, text.size());
    copy[text.size()] = L'\0';
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

WindowFixture::WindowFixture()
{
    initialise_controls();
    folder = std::filesystem::temp_directory_path() /
             ("zk-win32-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    // The shipped projector library, which the build puts beside the test program.
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::filesystem::copy_file(std::filesystem::path(program).parent_path() / "projectors.json",
                               folder / "projectors.json",
                               std::filesystem::copy_options::overwrite_existing);
}

WindowFixture::~WindowFixture()
{
    close_message_boxes();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

FindSetup WindowFixture::setup()
{
    return {links.opener(), adapters, [] { return std::vector<std::string>{"10.99.0.1"}; }, folder,
            folder / "user"};
}

} // namespace zk::win32::test

namespace zk::test {

bool wait_until(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    win32::test::pump_for(limit, done);
    return done();
}

void settle(std::chrono::milliseconds time)
{
    win32::test::pump_for(time);
}

} // namespace zk::test
