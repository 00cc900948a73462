#pragma once
// The windows' message box: a small dialog of our own, owned by the window, titled "信息：", the
// message in the windows' font and one "确定" button. (The system's message box takes its button
// text from the Windows UI language and its font from the system, so the Chinese message may be
// unreadable and the button in another language.)
#include <windows.h>

#include <string_view>

namespace zk::win32 {

// The window class of the box, for finding open boxes.
inline constexpr const wchar_t* message_box_class = L"ZkMessageBox";

// Opens a box with `text` over `owner` and returns at once; the owner takes no input until the
// last of its boxes is closed. The message loop keeps running meanwhile.
HWND show_message_box(HWND owner, HFONT font, UINT dpi, std::string_view text);

} // namespace zk::win32
