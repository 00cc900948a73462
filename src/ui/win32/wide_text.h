#pragma once
// Texts cross between UTF-8 (everything inside the program) and UTF-16 (the Windows API) here and
// nowhere else.
#include <windows.h>

#include <string>
#include <string_view>

namespace zk::win32 {

// UTF-8 to UTF-16; a malformed sequence becomes U+FFFD.
std::wstring wide(std::string_view text);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string narrow(std::wstring_view text);

// The window's text (WM_GETTEXT), whole.
std::wstring window_text(HWND window);

} // namespace zk::win32
