#include "Measure.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

double NowMs()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / frequency;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Worst(const std::vector<double>& values)
{
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

void PrintRow(const char* figure, double value, double baseline, const char* baselineName, const char* unit,
              const char* goal)
{
    // Read by tools/bench.sh; fields never hold the separator.
    std::printf("@row|%s|%.4g|%.4g|%s|%s|%s\n", figure, value, baseline, baselineName, unit, goal);
    std::fflush(stdout);
}
