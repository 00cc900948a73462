#pragma once
// Start-up figures of a Windows program under Wine, from the wall-clock time the launcher took
// just before starting it (nanoseconds since 1970, argv[1]): to the window's first paint (its own
// WM_PAINT handled, as a Qt window's first paint event), to the window painted with all its
// controls (each a window of its own, painted after it), and the peak working set by then.
#include <windows.h>

#include <commctrl.h>
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

class StartUp
{
public:
    // Watches `window`'s first paint; call before the window is shown.
    StartUp(HWND window, long long launched_ns) : launched_ns_(launched_ns)
    {
        SetWindowSubclass(window, &StartUp::watch, 1, reinterpret_cast<DWORD_PTR>(this));
    }

    // Call once the window is shown: handles the thread's messages until nothing waits, the
    // controls' paints included, then prints "FIRST_PAINT_MS PEAK_KIB ALL_PAINTED_MS".
    int print_when_painted() const
    {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        const long long all = unix_time_ns();
        PROCESS_MEMORY_COUNTERS memory{};
        GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
        std::printf("%.1f %lu %.1f\n", ms_since_launch(first_paint_ns_),
                    static_cast<unsigned long>(memory.PeakWorkingSetSize / 1024),
                    ms_since_launch(all));
        return first_paint_ns_ ? 0 : 1;
    }

private:
    static LRESULT CALLBACK
    watch(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id, DWORD_PTR self)
    {
        const LRESULT result = DefSubclassProc(window, message, wparam, lparam);
        if (message == WM_PAINT) {
            reinterpret_cast<StartUp*>(self)->first_paint_ns_ = unix_time_ns();
            RemoveWindowSubclass(window, &StartUp::watch, id);
        }
        return result;
    }

    double ms_since_launch(long long ns) const
    {
        return static_cast<double>(ns - launched_ns_) / 1e6;
    }

    long long launched_ns_;
    long long first_paint_ns_ = 0;
};

} // namespace bench
