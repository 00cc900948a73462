#pragma once
// Builds a window's controls from its layout table. Every control is a child of the window itself,
// placed in client coordinates (group boxes and tab pages only draw around the controls they
// hold), so every notification reaches the window. Controls of tab pages other than the current
// one are hidden.
#include <windows.h>

#include <string_view>
#include <vector>

#include "view/layout.h"

namespace zk::win32 {

struct BuiltControl
{
    const view::ControlLayout* entry;
    HWND handle;
    int id;              // the control's id in WM_COMMAND and WM_NOTIFY
    int page;            // the tab page it is shown on, -1 for always
    HWND spin = nullptr; // the inert up/down arrows of a numeric box
};

// The WM_COMMAND id of the control named `name` in windows built from `layout`, or 0 when the
// layout has no such control: tests in other processes find a control by its name with it.
int control_id(const view::WindowLayout& layout, std::string_view name);

class BuiltWindow
{
public:
    // Creates every control of `layout` in `window`, scaled to `dpi`.
    BuiltWindow(HWND window, const view::WindowLayout& layout, UINT dpi);
    ~BuiltWindow();
    BuiltWindow(const BuiltWindow&) = delete;
    BuiltWindow& operator=(const BuiltWindow&) = delete;

    // The control named `name`; a missing or mistyped name is a programming error and aborts.
    HWND get(std::string_view name) const;
    // The control with WM_COMMAND id `id`, or null.
    const BuiltControl* by_id(int id) const;
    const std::vector<BuiltControl>& controls() const { return controls_; }
    const view::WindowLayout& layout() const { return layout_; }
    HFONT font() const { return font_; }
    UINT dpi() const { return dpi_; }

    // Shows the controls of `page` and hides those of the other pages.
    void show_page(int page);
    // The brush for the background of a label or check box (WM_CTLCOLORSTATIC): on a tab page
    // the colour the tab control fills its pages with, which a theme may make differ from the
    // window's; null for the system's default.
    HBRUSH background_of(HWND control, HDC device);
    // Fills the inside of the tab pages in that colour when the window erases its background:
    // group boxes only draw their frames, and inside them the window shows through.
    void erase_pages(HDC device);
    // Places every control and sets the font for `dpi` (the window moved to another monitor).
    void apply_dpi(UINT dpi);

private:
    // The page brush, made at the first need; null when the window has no tab control.
    HBRUSH page_brush();
    void create(const view::ControlLayout& entry, int id);
    // Where `entry` goes at the current DPI, in the window's client coordinates.
    RECT placement(const view::ControlLayout& entry) const;
    void place(const BuiltControl& control);
    // The arrows at the right end of a numeric box, inside it.
    void place_spin(const BuiltControl& control);

    HWND window_;
    const view::WindowLayout& layout_;
    std::vector<BuiltControl> controls_;
    HFONT font_ = nullptr;
    UINT dpi_;
    HWND tab_ = nullptr;
    COLORREF page_colour_ = CLR_INVALID;
    HBRUSH page_brush_ = nullptr;
};

} // namespace zk::win32
