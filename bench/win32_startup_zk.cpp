// zkconfig.exe's own start-up (its Program) up to the find window painted.
// Usage: win32_startup_zk LAUNCH_TIME_NS   Prints: MS PEAK_KIB
#include <cstdlib>

#include "bench/win32_first_paint.h"
#include "ui/win32/program.h"

int wmain(int argc, wchar_t** argv)
{
    const long long launched = argc > 1 ? std::wcstoll(argv[1], nullptr, 10) : 0;
    zk::win32::Program program;
    program.window().show();
    return bench::print_when_painted(launched);
}
