#pragma once
// The windows' font and scale: the layouts are drawn at 96 DPI with a 9-point Chinese UI font,
// and scaled with the monitor a window is on.
#include <windows.h>

#include <string>

namespace zk::win32 {

inline constexpr UINT layout_dpi = 96;

// "Microsoft YaHei" when the system has it, else "SimSun".
std::wstring ui_font_face();

// The windows' font at `dpi`; the caller deletes it with DeleteObject.
HFONT create_ui_font(UINT dpi);

// A length of the layout (drawn at 96 DPI) at `dpi`.
int scaled(int length, UINT dpi);

// Asks to be told of each monitor's DPI (per-monitor aware, version 2 where the system has it);
// before the first window.
void become_dpi_aware();

// The DPI of the monitor `window` is on, the primary monitor's as the program started for no
// window; 96 where the system cannot tell.
UINT dpi_of(HWND window);

} // namespace zk::win32
