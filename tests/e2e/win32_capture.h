#pragma once
// Pictures of windows for the documentation: what the screen shows of a window, frame included,
// saved as a 24-bit BMP (scripts/screenshots-windows.sh turns it into a PNG).
#include <windows.h>

#include <filesystem>

namespace zk::drive {

// Saves the screen's pixels under `window` to `file`; throws Failure when it cannot.
void save_window_picture(HWND window, const std::filesystem::path& file);

} // namespace zk::drive
