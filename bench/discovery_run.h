#pragma once
// What the three discovery receivers (raw, endpoint, zkconfig) share: the same arguments, and one
// output line the benchmark script reads by column.
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace bench {

struct DiscoveryRun
{
    int expected = 0; // answers to wait for
    int asked = 0;    // receive buffer to ask for, in bytes
    int quiet_ms = 0; // no answer for this long ends the run
};

// The arguments COUNT RECEIVE_BUFFER_ASKED QUIET_MS; nullopt, with the usage on stderr, otherwise.
inline std::optional<DiscoveryRun> discovery_run(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s COUNT RECEIVE_BUFFER_ASKED QUIET_MS\n", argv[0]);
        return std::nullopt;
    }
    return DiscoveryRun{std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3])};
}

// Prints: answers TIME_MS CPU_MS GRANTED_BUFFER.
inline void print_discovery(int answers, double ms, double cpu_ms, int granted)
{
    std::printf("%d %.1f %.1f %d\n", answers, ms, cpu_ms, granted);
}

} // namespace bench
