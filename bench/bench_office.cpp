// Speed of the Word and OpenDocument writers and readers on the generated documents of
// 1 MB and 10 MB of RTF. scripts/bench runs them.

#include "BenchDocument.h"

#include "formats/office/DocxWriter.h"
#include "formats/office/OdtWriter.h"
#include "formats/office/OfficeRead.h"
#include "formats/office/Zip.h"

#include <QGuiApplication>
#include <QTextCharFormat>
#include <QTextDocument>

#include "RunBenchmarks.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <memory>
#include <vector>

namespace {

constexpr int64_t MB = 1024 * 1024;

QByteArray encode(const QTextDocument &doc, bool word)
{
    return word ? formats::office::docx::write(doc, QStringLiteral("Plan")) : formats::office::odt::write(doc, QStringLiteral("Plan"));
}

void BM_Write(benchmark::State &state, bool word)
{
    QTextDocument doc;
    bench::buildDocument(doc, state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(encode(doc, word));
}

// As for RTF, each size cycles through different files, 10 MB of documents in all, so no
// iteration finds its file still in the processor's caches, and only the read is timed,
// not making the empty document nor letting the full one go.
void BM_Read(benchmark::State &state, bool word)
{
    std::vector<QByteArray> files;
    for (int i = 0; i < std::max<int>(1, int(10 * MB / state.range(0))); ++i) {
        QTextDocument source;
        bench::buildDocument(source, state.range(0), i);
        files.push_back(encode(source, word));
    }
    state.counters["file_bytes"] = double(files.front().size());
    size_t next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<QTextDocument>();
        const QByteArray &file = files[next++ % files.size()];
        state.ResumeTiming();
        formats::office::zip::Archive zip;
        QString leftOut;
        if (!zip.open(file).ok || !formats::office::readDocument(zip, formats::office::kindOf(zip), *doc, QTextCharFormat(), leftOut).ok)
            state.SkipWithError("the file did not read back");
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK_CAPTURE(BM_Write, docx, true)->Arg(1 * MB)->Arg(10 * MB)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->ComputeStatistics("min", fastest);
BENCHMARK_CAPTURE(BM_Write, odt, false)->Arg(1 * MB)->Arg(10 * MB)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->ComputeStatistics("min", fastest);
BENCHMARK_CAPTURE(BM_Read, docx, true)->Arg(1 * MB)->Arg(10 * MB)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->ComputeStatistics("min", fastest);
BENCHMARK_CAPTURE(BM_Read, odt, false)->Arg(1 * MB)->Arg(10 * MB)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->ComputeStatistics("min", fastest);

int main(int argc, char **argv)
{
    // Every large buffer comes fresh from the system in every iteration, as when the
    // program opens or saves one file (see bench_rtf.cpp).
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
