#include "ui/win32/win32_controls.h"

#include <commctrl.h>

#include <algorithm>

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
    : handle_(handle),
      batch_(dispatcher, [this](const std::vector<std::string>& texts) { show(texts); })
{}

int Win32ListBox::shown() const
{
    const auto count = SendMessageW(handle_, LB_GETCOUNT, 0, 0);
    return count < 0 ? 0 : static_cast<int>(count);
}

int Win32ListBox::item_count() const
{
    return shown() + static_cast<int>(batch_.waiting());
}

std::string Win32ListBox::item_text(int index) const
{
    const int on_screen = shown();
    if (index < 0) return {};
    if (index >= on_screen) return batch_.waiting_text(static_cast<std::size_t>(index - on_screen));
    return item_of(handle_, index, LB_GETTEXTLEN, LB_GETTEXT);
}

int Win32ListBox::add_item(std::string_view text)
{
    batch_.add(text);
    return item_count() - 1;
}

void Win32ListBox::flush()
{
    batch_.flush();
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

bool Win32ListBox::delete_item(int index)
{
    flush();
    if (index < 0 || index >= shown()) return false;
    SendMessageW(handle_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    return true;
}

void Win32ListBox::delete_all_items()
{
    batch_.drop();
    SendMessageW(handle_, LB_RESETCONTENT, 0, 0);
}

bool Win32ListBox::set_item_text(int index, std::string_view text)
{
    flush();
    if (index < 0 || index >= shown()) return false;
    const int selected = selection();
    SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(handle_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageW(handle_, LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(wide(text).c_str()));
    if (selected == index) SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
    return true;
}

int Win32ListBox::selection() const
{
    const auto selected = SendMessageW(handle_, LB_GETCURSEL, 0, 0);
    return selected < 0 ? -1 : static_cast<int>(selected);
}

void Win32ListBox::select_exactly(int index)
{
    flush();
    SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32MessageBoxes::message_box(std::string_view text)
{
    show_message_box(owner_, built_.font(), built_.dpi(), text);
}

namespace {

class HandleFactory final : public view::ControlFactory
{
public:
    HandleFactory(const BuiltWindow& built, Dispatcher& dispatcher)
        : built_(built), dispatcher_(dispatcher)
    {}
    std::unique_ptr<EditBox> edit(const view::ControlLayout& e) override
    {
        return std::make_unique<Win32EditBox>(built_.get(e.name));
    }
    std::unique_ptr<Label> label(const view::ControlLayout& e) override
    {
        return std::make_unique<Win32Label>(built_.get(e.name));
    }
    std::unique_ptr<CheckBox> check(const view::ControlLayout& e) override
    {
        return std::make_unique<Win32CheckBox>(built_.get(e.name));
    }
    std::unique_ptr<TabControl> tab(const view::ControlLayout& e) override
    {
        return std::make_unique<Win32TabControl>(built_.get(e.name));
    }
    std::unique_ptr<ItemList> combo(const view::ControlLayout& e) override
    {
        return std::make_unique<Win32ComboList>(built_.get(e.name));
    }
    std::unique_ptr<ItemList> list(const view::ControlLayout& e) override
    {
        return std::make_unique<Win32ListBox>(built_.get(e.name), dispatcher_);
    }

private:
    const BuiltWindow& built_;
    Dispatcher& dispatcher_;
};

} // namespace

view::ControlSet adapt_controls(const BuiltWindow& built, Dispatcher& dispatcher)
{
    HandleFactory factory(built, dispatcher);
    return view::ControlSet(built.layout(), factory);
}

} // namespace zk::win32
