#pragma once

#include <benchmark/benchmark.h>

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
