// Speed of the RTF reader and writer on generated documents of 100 KB, 1 MB and 10 MB, and
// the peak memory of quorvane-rtf-to-text on the 10 MB file. scripts/bench runs them.

#include "BenchDocument.h"

#include "document/rtf/Rtf.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fcntl.h>
#include <malloc.h>
#include <map>
#include <memory>
#include <vector>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

namespace {

constexpr int64_t KB = 1024;
constexpr int64_t MB = 1024 * KB;

void setSizeCounters(benchmark::State &state, qint64 bytes)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
    state.counters["rtf_bytes"] = double(bytes);
}

void BM_ReadRtf(benchmark::State &state)
{
    const QByteArray &data = bench::rtfOfSize(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<QTextDocument>();
        state.ResumeTiming();
        const rtf::ReadResult r = rtf::read(data, *doc);
        benchmark::DoNotOptimize(r.ok);
        state.PauseTiming();
        if (!r.ok)
            state.SkipWithError("the reader refused the file");
        doc.reset();
        state.ResumeTiming();
    }
    setSizeCounters(state, data.size());
}

void BM_WriteRtf(benchmark::State &state)
{
    static std::map<int64_t, std::unique_ptr<QTextDocument>> docs;
    auto &doc = docs[state.range(0)];
    if (!doc) {
        doc = std::make_unique<QTextDocument>();
        doc->setUndoRedoEnabled(false);
        bench::buildDocument(*doc, state.range(0));
    }
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray out = rtf::write(*doc);
        bytes = out.size();
        benchmark::DoNotOptimize(out.constData());
    }
    setSizeCounters(state, bytes);
}

// Peak resident memory of the command-line reader on a file of the given size, measured
// by the kernel for the child process.
void BM_RtfToTextPeakMemory(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.rtf"));
    {
        QFile f(path);
        const QByteArray &data = bench::rtfOfSize(state.range(0));
        if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size()) {
            state.SkipWithError("cannot write the sample file");
            return;
        }
    }
    long maxRssKb = 0;
    for (auto _ : state) {
        const QByteArray file = path.toLocal8Bit();
        char *args[] = {const_cast<char *>(QUORVANE_RTF_TO_TEXT), const_cast<char *>(file.constData()), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        const int err = posix_spawn(&pid, QUORVANE_RTF_TO_TEXT, &actions, nullptr, args, environ);
        posix_spawn_file_actions_destroy(&actions);
        if (err != 0) {
            state.SkipWithError("cannot start quorvane-rtf-to-text");
            return;
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("quorvane-rtf-to-text failed");
            return;
        }
        maxRssKb = std::max(maxRssKb, usage.ru_maxrss);
    }
    state.counters["peak_MB"] = double(maxRssKb) / 1024.0;
    setSizeCounters(state, bench::rtfOfSize(state.range(0)).size());
}

} // namespace

// The fastest repetition is the one least disturbed by other work on the machine.
double fastest(const std::vector<double> &v)
{
    return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
}

BENCHMARK(BM_ReadRtf)->Arg(100 * KB)->Arg(1 * MB)->Arg(10 * MB)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_WriteRtf)->Arg(100 * KB)->Arg(1 * MB)->Arg(10 * MB)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_RtfToTextPeakMemory)->Arg(10 * MB)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    // Every large buffer comes fresh from the system in every iteration, as when the
    // program opens or saves one file, instead of depending on what earlier iterations of
    // another size left in the heap (glibc otherwise moves its mmap threshold as it goes).
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
