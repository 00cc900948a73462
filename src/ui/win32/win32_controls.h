#pragma once
// The control kinds over Windows controls. Setting a control from the program sends no
// notification the windows act on, so only the operator raises events.
#include <windows.h>

#include <string>

#include "net/dispatcher.h"
#include "ui/win32/window_builder.h"
#include "view/batched_list.h"
#include "view/control_set.h"
#include "view/controls.h"

namespace zk::win32 {

class Win32EditBox final : public EditBox
{
public:
    explicit Win32EditBox(HWND handle) : handle_(handle) {}
    std::string content() const override;
    void set_content(std::string_view text) override;

private:
    HWND handle_;
};

class Win32Label final : public Label
{
public:
    explicit Win32Label(HWND handle) : handle_(handle) {}
    std::string caption() const override;
    void set_caption(std::string_view text) override;

private:
    HWND handle_;
};

class Win32CheckBox final : public CheckBox
{
public:
    explicit Win32CheckBox(HWND handle) : handle_(handle) {}
    bool checked() const override;
    void set_checked(bool on) override;

private:
    HWND handle_;
};

class Win32TabControl final : public TabControl
{
public:
    explicit Win32TabControl(HWND handle) : handle_(handle) {}
    int current_page() const override;

private:
    HWND handle_;
};

// A drop-down list (ComboBox with CBS_DROPDOWNLIST).
class Win32ComboList final : public ItemList
{
public:
    explicit Win32ComboList(HWND handle) : handle_(handle) {}
    int item_count() const override;
    std::string item_text(int index) const override;
    int add_item(std::string_view text) override;
    bool delete_item(int index) override;
    bool set_item_text(int index, std::string_view text) override;
    int selection() const override;
    void delete_all_items() override;

protected:
    void select_exactly(int index) override;

private:
    HWND handle_;
};

// Additions go into the list together, with its redrawing off.
class Win32ListBox final : public view::BatchedListBox
{
public:
    // Its timer runs on `dispatcher`, the window thread's.
    Win32ListBox(HWND handle, Dispatcher& dispatcher);
    int selection() const override;

protected:
    int shown() const override;
    std::string shown_text(int index) const override;
    void show(const std::vector<std::string>& texts) override;
    void remove(int index) override;
    void replace(int index, std::string_view text) override;
    void clear() override;
    void select_shown(int index) override;

private:
    HWND handle_;
};

// Each message in a box of our own, titled "信息：", in the windows' font, with one "确定"
// button; the owner is disabled while it is open, but the message loop keeps running, so
// datagrams keep arriving.
class Win32MessageBoxes final : public MessageBoxes
{
public:
    // Over `owner`, in the font of `built`, its controls.
    Win32MessageBoxes(HWND owner, const BuiltWindow& built) : owner_(owner), built_(built) {}
    void message_box(std::string_view text) override;

private:
    HWND owner_;
    const BuiltWindow& built_;
};

// An adapter for every control of `built`; list boxes batch on `dispatcher`, the window thread's.
view::ControlSet adapt_controls(const BuiltWindow& built, Dispatcher& dispatcher);

} // namespace zk::win32
