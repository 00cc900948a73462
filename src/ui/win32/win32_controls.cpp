#include "ui/win32/win32_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <type_traits>

#include "ui/win32/message_box.h"
#include "ui/win32/wide_text.h"

namespace zk::win32 {

std::string Win32EditBox::content() const
{
    return narrow(window_text(handle_));
}

void Win32EditBox::set_content(std::string_view text)
{
    SetWindowTextW(handle_, wide(text).c_str());
}

std::string Win32Label::caption() const
{
    return narrow(window_text(handle_));
}

void Win32Label::set_caption(std::string_view text)
{
    SetWindowTextW(handle_, wide(text).c_str());
}

bool Win32CheckBox::checked() const
{
    return SendMessageW(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32CheckBox::set_checked(bool on)
{
    SendMessageW(handle_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

int Win32TabControl::current_page() const
{
    return static_cast<int>(SendMessageW(handle_, TCM_GETCURSEL, 0, 0));
}

namespace {

// Item `index` of a list (LB_GETTEXT…) or combo box (CB_GETLBTEXT…); empty outside it.
std::string item_of(HWND handle, int index, UINT length_message, UINT text_message)
{
    const auto length = SendMessageW(handle, length_message, static_cast<WPARAM>(index), 0);
    if (index < 0 || length < 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied = SendMessageW(handle, text_message, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
    return narrow(text);
}

int as_index(LRESULT result)
{
    return result < 0 ? -1 : static_cast<int>(result);
}

} // namespace

int Win32ComboList::item_count() const
{
    return as_index(SendMessageW(handle_, CB_GETCOUNT, 0, 0));
}

std::string Win32ComboList::item_text(int index) const
{
    return item_of(handle_, index, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

int Win32ComboList::add_item(std::string_view text)
{
    return as_index(
        SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(text).c_str())));
}

bool Win32ComboList::delete_item(int index)
{
    if (index < 0 || index >= item_count()) return false;
    SendMessageW(handle_, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    return true;
}

bool Win32ComboList::set_item_text(int index, std::string_view text)
{
    if (index < 0 || index >= item_count()) return false;
    const int selected = selection();
    SendMessageW(handle_, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageW(handle_, CB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(wide(text).c_str()));
    if (selected == index) select_exactly(index);
    return true;
}

int Win32ComboList::selection() const
{
    return as_index(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
}

void Win32ComboList::delete_all_items()
{
    SendMessageW(handle_, CB_RESETCONTENT, 0, 0);
}

void Win32ComboList::select_exactly(int index)
{
    SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

Win32ListBox::Win32ListBox(HWND handle, Dispatcher& dispatcher)
    : view::BatchedListBox(dispatcher), handle_(handle)
{}

int Win32ListBox::shown() const
{
    const auto count = SendMessageW(handle_, LB_GETCOUNT, 0, 0);
    return count < 0 ? 0 : static_cast<int>(count);
}

std::string Win32ListBox::shown_text(int index) const
{
    return item_of(handle_, index, LB_GETTEXTLEN, LB_GETTEXT);
}

void Win32ListBox::show(const std::vector<std::string>& texts)
{
    std::vector<std::wstring> rows;
    rows.reserve(texts.size());
    std::size_t characters = 0;
    for (const std::string& text : texts) {
        rows.push_back(wide(text));
        characters += rows.back().size() + 1;
    }
    SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(handle_, LB_INITSTORAGE, rows.size(),
                 static_cast<LPARAM>(characters * sizeof(wchar_t)));
    for (const std::wstring& row : rows)
        SendMessageW(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
}

void Win32ListBox::remove(int index)
{
    SendMessageW(handle_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void Win32ListBox::clear()
{
    SendMessageW(handle_, LB_RESETCONTENT, 0, 0);
}

void Win32ListBox::replace(int index, std::string_view text)
{
    const int selected = selection();
    SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(handle_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageW(handle_, LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(wide(text).c_str()));
    if (selected == index) SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
}

int Win32ListBox::selection() const
{
    const auto selected = SendMessageW(handle_, LB_GETCURSEL, 0, 0);
    return selected < 0 ? -1 : static_cast<int>(selected);
}

void Win32ListBox::select_shown(int index)
{
    SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32MessageBoxes::message_box(std::string_view text)
{
    show_message_box(owner_, built_.font(), built_.dpi(), text);
}

view::ControlSet adapt_controls(const BuiltWindow& built, Dispatcher& dispatcher)
{
    return view::adapt_controls<Win32EditBox, Win32Label, Win32CheckBox, Win32TabControl,
                                Win32ComboList, Win32ListBox>(
        built.layout(), [&]<class A>(std::type_identity<A>, const view::ControlLayout& entry) {
            if constexpr (std::is_constructible_v<A, HWND, Dispatcher&>)
                return std::make_unique<A>(built.get(entry.name), dispatcher);
            else
                return std::make_unique<A>(built.get(entry.name));
        });
}

} // namespace zk::win32
