#include "ui/win32/window_builder.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "ui/win32/input_rule.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/window_font.h"

namespace zk::win32 {

namespace {

using view::Kind;

// Controls that stand for nothing on screen have no window.
bool has_window(Kind kind)
{
    return kind != Kind::endpoint;
}

struct WindowKind
{
    const wchar_t* class_name;
    DWORD style;
    DWORD ex_style = 0;
};

WindowKind window_kind(Kind kind)
{
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    switch (kind) {
    case Kind::label:
        // Texts such as a refused code come from the operator: an "&" is shown, not underlined.
        return {L"Static", child | SS_LEFT | SS_NOPREFIX};
    case Kind::edit:
        return {L"Edit", child | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::button:
        return {L"Button", child | BS_PUSHBUTTON};
    case Kind::check:
        return {L"Button", child | BS_AUTOCHECKBOX};
    case Kind::combo:
        // Its open list is a window of its own, which a list of integral height resizes again
        // each time the box gets its font or place: under Wine each such move is a round trip to
        // the X server, all of them before the window's first paint.
        return {L"ComboBox", child | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_NOINTEGRALHEIGHT};
    case Kind::list:
        return {L"ListBox", child | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                WS_EX_CLIENTEDGE};
    case Kind::group:
        return {L"Button", child | WS_CLIPSIBLINGS | BS_GROUPBOX};
    case Kind::tab:
        return {WC_TABCONTROLW, child | WS_CLIPSIBLINGS};
    case Kind::endpoint:
        break;
    }
    return {L"Static", child};
}

void fill(HWND handle, const view::ControlLayout& entry, const view::WindowLayout& layout)
{
    if (entry.kind == Kind::combo) {
        for (std::string_view item : entry.items)
            SendMessageW(handle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item).c_str()));
        // Shown while nothing is selected, so a list filled at run time says what it holds.
        if (!entry.text.empty())
            SendMessageW(handle, CB_SETCUEBANNER, 0,
                         reinterpret_cast<LPARAM>(wide(entry.text).c_str()));
    }
    if (entry.kind == Kind::tab) {
        for (std::size_t i = 0; i < layout.pages.size(); ++i) {
            std::wstring name = wide(layout.pages[i]);
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = name.data();
            SendMessageW(handle, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
    }
}

// Ids follow the order of the layout table, so they are the same in every build of a window.
constexpr int first_id = 1000;

} // namespace

int control_id(const view::WindowLayout& layout, std::string_view name)
{
    const view::ControlLayout* entry = view::find_control(layout, name);
    if (!entry || !has_window(entry->kind)) return 0;
    return first_id + static_cast<int>(entry - layout.controls.data());
}

BuiltWindow::BuiltWindow(HWND window, const view::WindowLayout& layout, UINT dpi)
    : window_(window), layout_(layout), font_(create_ui_font(dpi)), dpi_(dpi)
{
    int id = first_id;
    for (const view::ControlLayout& entry : layout.controls) {
        if (has_window(entry.kind)) create(entry, id);
        ++id;
    }
    for (const BuiltControl& control : controls_) {
        if (control.spin) place_spin(control);
    }
    // Group boxes and the tab control only frame other controls: they go below all of them,
    // the tab control lowest, and leave the controls above them unpainted.
    for (const BuiltControl& control : controls_) {
        if (control.entry->kind == Kind::group)
            SetWindowPos(control.handle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    for (const BuiltControl& control : controls_) {
        if (control.entry->kind == Kind::tab)
            SetWindowPos(control.handle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    show_page(0);
}

BuiltWindow::~BuiltWindow()
{
    DeleteObject(font_);
    if (page_brush_) DeleteObject(page_brush_);
}

void BuiltWindow::create(const view::ControlLayout& entry, int id)
{
    const WindowKind kind = window_kind(entry.kind);
    const bool shows_text =
        entry.kind != Kind::combo && entry.kind != Kind::list && entry.kind != Kind::tab;
    // Made where it belongs, in its font: each move or change of a control afterwards costs as
    // much again, and a window has dozens of them.
    const RECT at = placement(entry);
    HWND handle = CreateWindowExW(
        kind.ex_style, kind.class_name, shows_text ? wide(entry.text).c_str() : L"",
        kind.style | (entry.spin ? WS_CLIPCHILDREN : 0) |
            (view::takes_focus(entry.kind) ? WS_TABSTOP : 0),
        at.left, at.top, at.right - at.left, at.bottom - at.top, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!handle) {
        std::fprintf(stderr, "cannot create control %.*s\n", static_cast<int>(entry.name.size()),
                     entry.name.data());
        std::abort();
    }
    SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    fill(handle, entry, layout_);
    if (entry.input != view::Input::any) enforce_input_rule(handle, entry.input);
    BuiltControl control{&entry, handle, id, view::page_of(layout_, entry)};
    if (entry.kind == Kind::tab) tab_ = handle;
    if (entry.spin) {
        control.spin = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                       handle, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    controls_.push_back(control);
}

HWND BuiltWindow::get(std::string_view name) const
{
    for (const BuiltControl& control : controls_) {
        if (control.entry->name == name) return control.handle;
    }
    std::fprintf(stderr, "layout has no control named %.*s\n", static_cast<int>(name.size()),
                 name.data());
    std::abort();
}

const BuiltControl* BuiltWindow::by_id(int id) const
{
    for (const BuiltControl& control : controls_) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

void BuiltWindow::show_page(int page)
{
    for (const BuiltControl& control : controls_) {
        if (control.page >= 0)
            ShowWindow(control.handle, control.page == page ? SW_SHOWNA : SW_HIDE);
    }
}

namespace {

// The colour a tab control fills the inside of its pages with: the middle of its display area,
// drawn into memory, where no other control covers it.
COLORREF page_fill(HWND tab)
{
    RECT area{};
    GetClientRect(tab, &area);
    if (area.right <= 0 || area.bottom <= 0) return CLR_INVALID;
    HDC screen = GetDC(tab);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, area.right, area.bottom);
    HGDIOBJ old = SelectObject(memory, picture);
    SendMessageW(tab, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory),
                 PRF_CLIENT | PRF_ERASEBKGND);
    RECT inside = area;
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&inside));
    const COLORREF fill =
        GetPixel(memory, (inside.left + inside.right) / 2, (inside.top + inside.bottom) / 2);
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(tab, screen);
    return fill;
}

} // namespace

HBRUSH BuiltWindow::background_of(HWND control, HDC device)
{
    const auto on_page = [control](const BuiltControl& built) {
        return built.handle == control && built.page >= 0;
    };
    if (std::none_of(controls_.begin(), controls_.end(), on_page) || !page_brush()) return nullptr;
    SetBkColor(device, page_colour_);
    return page_brush_;
}

HBRUSH BuiltWindow::page_brush()
{
    if (page_brush_ || !tab_) return page_brush_;
    page_colour_ = page_fill(tab_);
    if (page_colour_ != CLR_INVALID) page_brush_ = CreateSolidBrush(page_colour_);
    return page_brush_;
}

void BuiltWindow::erase_pages(HDC device)
{
    if (!page_brush()) return;
    RECT inside{};
    GetClientRect(tab_, &inside);
    SendMessageW(tab_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&inside));
    MapWindowPoints(tab_, window_, reinterpret_cast<POINT*>(&inside), 2);
    FillRect(device, &inside, page_brush_);
}

void BuiltWindow::apply_dpi(UINT dpi)
{
    HFONT font = create_ui_font(dpi);
    dpi_ = dpi;
    for (const BuiltControl& control : controls_) {
        SendMessageW(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        place(control);
    }
    DeleteObject(font_);
    font_ = font;
    InvalidateRect(window_, nullptr, TRUE);
}

RECT BuiltWindow::placement(const view::ControlLayout& entry) const
{
    const view::Rect rect = view::client_place(layout_, entry);
    const int left = scaled(rect.x, dpi_);
    const int top = scaled(rect.y, dpi_);
    // A combo box's height is that of its open list; the closed field is as high as the font.
    const int height =
        scaled(entry.kind == Kind::combo ? view::combo_list_reach : rect.height, dpi_);
    return {left, top, left + scaled(rect.width, dpi_), top + height};
}

void BuiltWindow::place(const BuiltControl& control)
{
    const RECT at = placement(*control.entry);
    SetWindowPos(control.handle, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (control.spin) place_spin(control);
}

void BuiltWindow::place_spin(const BuiltControl& control)
{
    RECT inside{};
    GetClientRect(control.handle, &inside);
    const int arrows = scaled(view::spin_arrows_width, dpi_);
    SetWindowPos(control.spin, nullptr, inside.right - arrows, 0, arrows, inside.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control.handle, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, arrows));
}

} // namespace zk::win32
