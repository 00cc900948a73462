#pragma once
// Start-up figures of a Windows program under Wine: from the wall-clock time the launcher took
// just before starting it (nanoseconds since 1970, argv[1]) to a window painted with all its
// controls, and the peak working set by then.
#include <windows.h>

#include <psapi.h>

#include <cstdio>

namespace bench {

// Now, in nanoseconds since 1970 (the launcher's `date +%s%N`).
inline long long unix_time_ns()
{
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    const unsigned long long ticks =
        (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    constexpr unsigned long long ticks_1601_to_1970 = 116444736000000000ULL; // 100 ns each
    return static_cast<long long>((ticks - ticks_1601_to_1970) * 100);
}

// Call once the window is shown: handles the thread's messages until nothing waits, the paints
// of the window and of each of its controls included, then prints "MS PEAK_KIB".
inline int print_when_painted(long long launched_ns)
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("%.1f %lu\n", static_cast<double>(unix_time_ns() - launched_ns) / 1e6,
                static_cast<unsigned long>(memory.PeakWorkingSetSize / 1024));
    return 0;
}

} // namespace bench
