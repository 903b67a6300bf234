#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

// The fastest repetition is the one least disturbed by other work on the machine.
inline double fastest(const std::vector<double> &v)
{
    return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
}

// The end of every benchmark program's main(): Google Benchmark's own flags, then the runs.
inline int runBenchmarks(int &argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
