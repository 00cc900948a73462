#include "e2e/win32_remote.h"

#include <commctrl.h>

#include <thread>

#include "ui/win32/message_box.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/window_builder.h"

namespace zk::drive {

namespace {

using win32::narrow;
using win32::wide;

// A message to a window of the other process; a program that stops answering fails the run
// instead of hanging it.
LRESULT send(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, 10000, &result))
        throw Failure("the program did not take message " + std::to_string(message));
    return static_cast<LRESULT>(result);
}

std::string class_of(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return narrow(name);
}

BOOL CALLBACK collect_box(HWND window, LPARAM boxes)
{
    if (IsWindowVisible(window) && class_of(window) == narrow(win32::message_box_class))
        reinterpret_cast<std::vector<HWND>*>(boxes)->push_back(window);
    return TRUE;
}

// The items of a list box or a drop-down list, read with that control's messages.
std::vector<std::string> items_of(HWND control, UINT count_of, UINT length_of, UINT text_at)
{
    const auto count = send(control, count_of, 0, 0);
    std::vector<std::string> texts;
    for (LRESULT i = 0; i < count; ++i) {
        const auto at = static_cast<WPARAM>(i);
        const auto length = static_cast<std::size_t>(send(control, length_of, at, 0));
        std::wstring item(length + 1, L'\0');
        send(control, text_at, at, reinterpret_cast<LPARAM>(item.data()));
        item.resize(length);
        texts.push_back(narrow(item));
    }
    return texts;
}

} // namespace

void wait_until(Millis limit, std::string_view what, const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            throw Failure("timed out: " + std::string(what) + open_messages());
        std::this_thread::sleep_for(Millis(20));
    }
}

HWND wait_for_window(const wchar_t* window_class, std::string_view title, Millis limit)
{
    HWND found = nullptr;
    wait_until(limit, "window " + std::string(title), [&] {
        found = FindWindowW(window_class, wide(title).c_str());
        return found && IsWindowVisible(found);
    });
    return found;
}

void wait_gone(HWND window, std::string_view what, Millis limit)
{
    wait_until(limit, std::string(what) + " to close", [window] { return !IsWindow(window); });
}

std::vector<HWND> message_boxes()
{
    std::vector<HWND> boxes;
    EnumWindows(collect_box, reinterpret_cast<LPARAM>(&boxes));
    // The system lists the newest first.
    return {boxes.rbegin(), boxes.rend()};
}

std::string message_of(HWND box)
{
    return text_of(GetWindow(box, GW_CHILD));
}

std::string open_messages()
{
    std::string texts;
    for (HWND box : message_boxes())
        texts += " [message box: " + message_of(box) + "]";
    return texts;
}

Millis close_message(std::string_view text, Millis limit)
{
    const auto start = std::chrono::steady_clock::now();
    HWND shown = nullptr;
    wait_until(limit, "message " + std::string(text), [&] {
        for (HWND box : message_boxes()) {
            if (message_of(box) == text) shown = box;
        }
        return shown != nullptr;
    });
    const auto took = std::chrono::duration_cast<Millis>(std::chrono::steady_clock::now() - start);
    if (text_of(shown) != "信息：") throw Failure("message box captioned " + text_of(shown));
    HWND ok = GetDlgItem(shown, IDOK);
    if (text_of(ok) != "确定") throw Failure("message box button reads " + text_of(ok));
    send(ok, BM_CLICK, 0, 0);
    wait_gone(shown, "message box", Millis(2000));
    return took;
}

std::string text_of(HWND window)
{
    const auto length = static_cast<std::size_t>(send(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    const auto copied = static_cast<std::size_t>(
        send(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data())));
    text.resize(std::min(copied, length));
    return narrow(text);
}

RemoteWindow::RemoteWindow(HWND window, const view::WindowLayout& layout)
    : window_(window), layout_(layout)
{}

HWND RemoteWindow::control(std::string_view name) const
{
    HWND found = GetDlgItem(window_, win32::control_id(layout_, name));
    if (!found) throw Failure("no control " + std::string(name) + " in " + text_of(window_));
    return found;
}

void RemoteWindow::set_text(std::string_view name, std::string_view text) const
{
    send(control(name), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(text).c_str()));
}

void RemoteWindow::click(std::string_view name) const
{
    send(control(name), BM_CLICK, 0, 0);
}

void RemoteWindow::wait_text(std::string_view name, std::string_view text, Millis limit) const
{
    std::string last;
    wait_until(limit, std::string(name) + " to show " + std::string(text), [&] {
        last = this->text(name);
        return last == text;
    });
}

std::vector<std::string> RemoteWindow::lines(std::string_view name) const
{
    return items_of(control(name), LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

void RemoteWindow::notify_parent(std::string_view name, WORD code) const
{
    HWND target = control(name);
    const auto id = static_cast<WORD>(GetDlgCtrlID(target));
    send(window_, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(target));
}

void RemoteWindow::pick_line(std::string_view name, int index) const
{
    send(control(name), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    notify_parent(name, LBN_SELCHANGE);
}

void RemoteWindow::pick_item_ending(std::string_view name, std::string_view ending) const
{
    HWND combo = control(name);
    const std::vector<std::string> items =
        items_of(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
    std::string shown;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].ends_with(ending)) {
            send(combo, CB_SETCURSEL, i, 0);
            notify_parent(name, CBN_SELENDOK);
            return;
        }
        shown += " [" + items[i] + "]";
    }
    throw Failure("no item ending " + std::string(ending) + " in " + std::string(name) + shown);
}

void RemoteWindow::show_page(std::string_view tab, int page) const
{
    // Moving the focus to a tab selects it and notifies the window, as the arrow keys do; the
    // notification's data lives in the program, so it cannot be sent from here.
    send(control(tab), TCM_SETCURFOCUS, static_cast<WPARAM>(page), 0);
    const auto shown = send(control(tab), TCM_GETCURSEL, 0, 0);
    if (shown != page) throw Failure("tab page " + std::to_string(page) + " not shown");
}

void RemoteWindow::close() const
{
    send(window_, WM_CLOSE, 0, 0);
}

} // namespace zk::drive
