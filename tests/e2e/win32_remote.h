#pragma once
// zkconfig.exe's windows as another process sees them: found by class and title, their controls
// by layout name, driven with window messages (what a click, a pick or typing would send) and
// read with WM_GETTEXT. Every wait polls with a limit and throws a Failure naming what did not
// happen and the message boxes then open.
#include <windows.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "view/layout.h"

namespace zk::drive {

using Millis = std::chrono::milliseconds;

struct Failure : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

// Polls `done` until it holds, or throws "timed out: <what>" after `limit`.
void wait_until(Millis limit, std::string_view what, const std::function<bool()>& done);

// The visible top-level window of class `window_class` titled `title`, waited for.
HWND wait_for_window(const wchar_t* window_class, std::string_view title, Millis limit);
// Waits until `window` is gone.
void wait_gone(HWND window, std::string_view what, Millis limit);

// The open message boxes of the program, oldest first.
std::vector<HWND> message_boxes();
// The text a box shows.
std::string message_of(HWND box);
// The texts of every open box, for failure messages.
std::string open_messages();
// Waits for a box showing `text` captioned "信息：", closes it with its "确定" button and
// returns how long it took to appear.
Millis close_message(std::string_view text, Millis limit);

// A window's or control's text (WM_GETTEXT), UTF-8.
std::string text_of(HWND window);

// One of zkconfig's windows, its controls found by their names in `layout`.
class RemoteWindow
{
public:
    RemoteWindow(HWND window, const view::WindowLayout& layout);

    HWND handle() const { return window_; }
    HWND control(std::string_view name) const;
    std::string text(std::string_view name) const { return text_of(control(name)); }
    // Replaces the text of an edit box, as a paste over the whole text would.
    void set_text(std::string_view name, std::string_view text) const;
    // Clicks a button (BM_CLICK).
    void click(std::string_view name) const;
    // Waits until the control shows `text`.
    void wait_text(std::string_view name, std::string_view text, Millis limit) const;

    // The lines of a list box.
    std::vector<std::string> lines(std::string_view name) const;
    // Selects line `index` of a list box as a click on it does.
    void pick_line(std::string_view name, int index) const;
    // Selects the item of a drop-down list that ends with `ending`, as a pick from the open list
    // does; throws when none does.
    void pick_item_ending(std::string_view name, std::string_view ending) const;
    // Shows tab page `page` of the tab control, as the arrow keys on its tabs do.
    void show_page(std::string_view tab, int page) const;
    // Asks the window to close (its close box).
    void close() const;

private:
    void notify_parent(std::string_view name, WORD code) const;

    HWND window_;
    const view::WindowLayout& layout_;
};

} // namespace zk::drive
