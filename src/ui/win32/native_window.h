#pragma once
// A top-level window built from a layout table: fixed size (no maximise, no resizing), scaled
// with its monitor's DPI, and the operator's actions on its controls (WM_COMMAND, WM_NOTIFY)
// routed to the handlers bound by name.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/win32/window_builder.h"
#include "view/control_set.h"
#include "view/layout.h"

namespace zk::win32 {

class NativeWindow
{
public:
    virtual ~NativeWindow();
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    HWND handle() const { return window_; }
    const BuiltWindow& built() const { return *built_; }
    // The control named `name` in the layout.
    HWND control(std::string_view name) const { return built_->get(name); }

    // Called instead of closing when the operator closes the window (the owner decides).
    std::function<void()> on_close;

protected:
    // Creates the window, owned by `owner` (null: none), with every control of `layout`,
    // centred on its monitor but not yet shown.
    NativeWindow(const view::WindowLayout& layout, HWND owner);

    // Runs each action on the operator's event of its control: a button's click, a pick in a
    // drop-down list (with the mouse or the keyboard, also of the item already selected, so a
    // pick of the same projector model fills the page again), every click on an entry of a list
    // box (the selected one too, so picking it again reads the controller again), a change of
    // tab page.
    void bind_actions(const std::vector<view::ControlAction>& actions);
    // Esc closes the window, as it closes a dialog.
    void close_on_escape() { escape_closes_ = true; }

private:
    // Runs `handler` when the control named `name` notifies `code` (BN_CLICKED, LBN_SELCHANGE,
    // ...).
    void bind(std::string_view name, WORD code, std::function<void()> handler);
    void bind_pick(std::string_view name, std::function<void()> handler);
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
    void notified(const NMHDR& header);
    // Moves and sizes the window to `frame` (screen coordinates, outer edges).
    void place(const RECT& frame);

    HWND window_ = nullptr;
    std::unique_ptr<BuiltWindow> built_;
    std::map<std::pair<int, WORD>, std::function<void()>> commands_;
    std::function<void()> page_changed_;
    bool escape_closes_ = false;
};

// A window takes no input while anything modal over it (a message box, the settings window) is
// open: each opening blocks it once and each closing unblocks it once, so it takes input again
// only when the last one has closed.
void block_input(HWND window);
void unblock_input(HWND window);

// Makes the common controls (tab control, up/down arrows) available; before the first window.
void initialise_controls();

// Runs the thread's message loop until WM_QUIT, with keyboard navigation between controls;
// returns the exit code.
int run_message_loop();

} // namespace zk::win32
