// The find window alone: its frame and the controls zkconfig.exe's window builder makes from the
// layout table, with the program's manifest and process set-up, and nothing else of the program
// (no endpoint, no adapter list, no Winsock, no handlers). Between the minimal window and
// zkconfig.exe it tells what the window's controls cost from what the program adds to them.
// Usage: win32_startup_window LAUNCH_TIME_NS   Prints: FIRST_PAINT_MS PEAK_KIB ALL_PAINTED_MS
#include <cstdlib>

#include "bench/win32_first_paint.h"
#include "ui/win32/native_window.h"
#include "ui/win32/window_font.h"

namespace {

struct FindWindowAlone : zk::win32::NativeWindow
{
    FindWindowAlone() : NativeWindow(zk::view::find_window_layout(), nullptr) {}
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const long long launched = argc > 1 ? std::wcstoll(argv[1], nullptr, 10) : 0;
    zk::win32::become_dpi_aware();
    zk::win32::initialise_controls();
    FindWindowAlone window;
    bench::StartUp start_up(window.handle(), launched);
    ShowWindow(window.handle(), SW_SHOW);
    UpdateWindow(window.handle());
    return start_up.print_when_painted();
}
