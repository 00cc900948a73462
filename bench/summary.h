#pragma once
// Median, minimum and maximum of a set of samples, printed on one line.
#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

inline void print_summary(std::vector<double> samples)
{
    if (samples.empty()) return;
    std::sort(samples.begin(), samples.end());
    std::printf("%.0f %.0f %.0f\n", samples[samples.size() / 2], samples.front(), samples.back());
}

} // namespace bench
