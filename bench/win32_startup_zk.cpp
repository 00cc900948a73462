// zkconfig.exe's own start-up (its Program) up to the find window's first paint.
// Usage: win32_startup_zk LAUNCH_TIME_NS   Prints: FIRST_PAINT_MS PEAK_KIB ALL_PAINTED_MS
#include <cstdlib>

#include "bench/win32_first_paint.h"
#include "ui/win32/program.h"

int wmain(int argc, wchar_t** argv)
{
    const long long launched = argc > 1 ? std::wcstoll(argv[1], nullptr, 10) : 0;
    zk::win32::Program program;
    bench::StartUp start_up(program.window().handle(), launched);
    program.window().show();
    return start_up.print_when_painted();
}
