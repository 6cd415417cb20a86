// The main of a benchmark that drives widgets: the offscreen platform unless another is asked
// for, a QApplication, then Google Benchmark; prepare runs after the arguments are read, before
// the benchmarks.
#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>
#include <functional>

inline int runQtBenchmarks(int argc, char **argv, const std::function<void()> &prepare = {})
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (prepare)
        prepare();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
