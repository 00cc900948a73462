#include "ui/win32/input_rule.h"

#include <commctrl.h>

#include <string>

#include "ui/win32/wide_text.h"

namespace zk::win32 {

namespace {

constexpr UINT_PTR subclass_id = 0x7A6B;

// The messages through which an operator changes an edit box's text.
bool edits_text(UINT message)
{
    switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_KEYDOWN: // Delete
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK
checked_edit(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR rule)
{
    if (!edits_text(message)) return DefSubclassProc(edit, message, wparam, lparam);
    const std::wstring before = window_text(edit);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const LRESULT result = DefSubclassProc(edit, message, wparam, lparam);
    const std::wstring after = window_text(edit);
    if (after != before && !view::accepts_input(static_cast<view::Input>(rule), narrow(after))) {
        DefSubclassProc(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(before.c_str()));
        SendMessageW(edit, EM_SETSEL, start, static_cast<LPARAM>(end));
        MessageBeep(MB_OK);
    }
    return result;
}

} // namespace

void enforce_input_rule(HWND edit, view::Input rule)
{
    SetWindowSubclass(edit, checked_edit, subclass_id, static_cast<DWORD_PTR>(rule));
}

} // namespace zk::win32
