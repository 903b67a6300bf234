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

void BM_Read(benchmark::State &state, bool word)
{
    QTextDocument source;
    bench::buildDocument(source, state.range(0));
    const QByteArray file = encode(source, word);
    state.counters["file_bytes"] = double(file.size());
    for (auto _ : state) {
        formats::office::zip::Archive zip;
        QTextDocument doc;
        QString leftOut;
        if (!zip.open(file).ok || !formats::office::readDocument(zip, formats::office::kindOf(zip), doc, QTextCharFormat(), leftOut).ok)
            state.SkipWithError("the file did not read back");
    }
}

} // namespace

BENCHMARK_CAPTURE(BM_Write, docx, true)->Arg(1 * MB)->Arg(10 * MB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Write, odt, false)->Arg(1 * MB)->Arg(10 * MB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Read, docx, true)->Arg(1 * MB)->Arg(10 * MB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Read, odt, false)->Arg(1 * MB)->Arg(10 * MB)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
