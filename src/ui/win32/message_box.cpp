#include "ui/win32/message_box.h"

#include <algorithm>

#include "ui/win32/native_window.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/window_font.h"
#include "view/controls.h"

namespace zk::win32 {

namespace {

LRESULT CALLBACK box_procedure(HWND box, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) DestroyWindow(box);
        return 0;
    case WM_CLOSE:
        DestroyWindow(box);
        return 0;
    case WM_DESTROY:
        if (HWND owner = GetWindow(box, GW_OWNER)) {
            unblock_input(owner);
            if (IsWindowEnabled(owner)) SetActiveWindow(owner);
        }
        return 0;
    default:
        return DefWindowProcW(box, message, wparam, lparam);
    }
}

void register_class()
{
    static const bool registered = [] {
        WNDCLASSEXW kind{};
        kind.cbSize = sizeof kind;
        kind.lpfnWndProc = box_procedure;
        kind.hInstance = GetModuleHandleW(nullptr);
        kind.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        kind.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        kind.lpszClassName = message_box_class;
        return RegisterClassExW(&kind) != 0;
    }();
    (void)registered;
}

// The size the text takes in `font`, wrapped at `widest`.
SIZE text_size(const std::wstring& text, HFONT font, int widest)
{
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    RECT bounds{0, 0, widest, 0};
    DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &bounds,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return {bounds.right, bounds.bottom};
}

HWND child(HWND box, const wchar_t* kind, const wchar_t* text, DWORD style, int id, RECT place)
{
    return CreateWindowExW(0, kind, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                           place.right - place.left, place.bottom - place.top, box,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

} // namespace

HWND show_message_box(HWND owner, HFONT font, UINT dpi, std::string_view text)
{
    register_class();
    const std::wstring message = wide(text);
    const int margin = scaled(16, dpi);
    const SIZE button{scaled(80, dpi), scaled(26, dpi)};
    const SIZE words = text_size(message, font, scaled(360, dpi));
    const int inner_width = std::max<int>(std::max<int>(words.cx, button.cx), scaled(160, dpi));
    RECT frame{0, 0, inner_width + 2 * margin, words.cy + button.cy + 3 * margin};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT over{};
    GetWindowRect(owner, &over);
    HWND box = CreateWindowExW(
        WS_EX_DLGMODALFRAME, message_box_class, wide(message_box_title).c_str(), style,
        (over.left + over.right - width) / 2, (over.top + over.bottom - height) / 2, width, height,
        owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!box) return nullptr;
    HWND words_control = child(box, L"Static", message.c_str(), SS_LEFT | SS_NOPREFIX, -1,
                               {margin, margin, margin + inner_width, margin + words.cy});
    const int button_left = margin + (inner_width - button.cx) / 2;
    const int button_top = 2 * margin + words.cy;
    HWND ok = child(box, L"Button", L"确定", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK,
                    {button_left, button_top, button_left + button.cx, button_top + button.cy});
    for (HWND control : {words_control, ok})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    block_input(owner);
    ShowWindow(box, SW_SHOW);
    SetFocus(ok);
    return box;
}

} // namespace zk::win32
