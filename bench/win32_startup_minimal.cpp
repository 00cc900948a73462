// The reference start-up on Windows: a bare window of the Windows API showing the find window's
// title and captions in one label (a static control), in the font zkconfig.exe's windows use
// (the system's Chinese UI font: text in any other font would be drawn through font fallback).
// Usage: win32_startup_minimal LAUNCH_TIME_NS   Prints: FIRST_PAINT_MS PEAK_KIB ALL_PAINTED_MS
#include <windows.h>

#include <cstdlib>
#include <string>

#include "bench/win32_first_paint.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/window_font.h"
#include "view/layout.h"

int wmain(int argc, wchar_t** argv)
{
    const long long launched = argc > 1 ? std::wcstoll(argv[1], nullptr, 10) : 0;
    const zk::view::WindowLayout& find = zk::view::find_window_layout();
    std::string text(find.title);
    for (const zk::view::ControlLayout& control : find.controls)
        text += "\n" + std::string(control.text);

    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = L"zk_startup_minimal";
    RegisterClassW(&window_class);
    HWND window = CreateWindowExW(
        0, window_class.lpszClassName, zk::win32::wide(find.title).c_str(), WS_OVERLAPPEDWINDOW,
        CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance, nullptr);
    HWND label = CreateWindowExW(0, L"STATIC", zk::win32::wide(text).c_str(), WS_CHILD | WS_VISIBLE,
                                 8, 8, 620, 440, window, nullptr, instance, nullptr);
    SendMessageW(label, WM_SETFONT,
                 reinterpret_cast<WPARAM>(zk::win32::create_ui_font(zk::win32::layout_dpi)), TRUE);
    bench::StartUp start_up(window, launched);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return start_up.print_when_painted();
}
