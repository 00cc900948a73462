#pragma once
// A moment of a benchmark run: wall time and the process's CPU time (user and system) so far.
#include <chrono>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#endif

namespace bench {

struct Mark
{
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    double cpu_ms = process_cpu_ms();

    static Mark now() { return Mark{}; }

    double ms_since(const Mark& earlier) const
    {
        return std::chrono::duration<double, std::milli>(wall - earlier.wall).count();
    }
    double cpu_ms_since(const Mark& earlier) const { return cpu_ms - earlier.cpu_ms; }

    static double process_cpu_ms()
    {
#ifdef _WIN32
        FILETIME created{}, ended{}, kernel{}, user{};
        GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
        const auto ms = [](const FILETIME& t) { // in units of 100 ns
            return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                       t.dwLowDateTime) /
                   10000.0;
        };
        return ms(kernel) + ms(user);
#else
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const auto ms = [](const timeval& t) {
            return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_usec) / 1000.0;
        };
        return ms(usage.ru_utime) + ms(usage.ru_stime);
#endif
    }
};

} // namespace bench
