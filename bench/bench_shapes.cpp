// Open's reading (file to QTextDocument, as loadDocumentFile does it for the editor and
// the command-line tool) for files that stress one dimension each, at the limit and at a
// tenth of it: the time for ten times the size must be at most eleven times as long, so
// no shape costs more than linear. scripts/bench prints the ratios.

#include "Shapes.h"

#include "formats/DocumentLoad.h"
#include "formats/Limits.h"
#include "formats/rtf/Rtf.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextCharFormat>
#include <QTextDocument>

#include "RunBenchmarks.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <malloc.h>
#include <vector>

namespace {

void openShape(benchmark::State &state, const QString &shape)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shape"));
    const QByteArray data = bench::shapeFile(shape, state.range(0));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size()) {
            state.SkipWithError("cannot write the sample file");
            return;
        }
    }
    for (auto _ : state) {
        QTextDocument doc;
        const formats::Result r = formats::loadFile(path, doc, QTextCharFormat());
        if (!r.ok) {
            state.SkipWithError(qPrintable(r.error));
            return;
        }
        benchmark::DoNotOptimize(doc.blockCount());
    }
    state.counters["file_bytes"] = double(data.size());
}

// Each shape at its limit and at a tenth of it.
struct ShapeSize {
    const char *shape;
    qint64 most;
};
const ShapeSize Shapes[] = {
    {"fonts", formats::MaxFontsUsed},
    {"formats", formats::MaxCharFormats - 1}, // the paragraph marks take one more
    {"runs", formats::MaxRuns},
    {"empty-paragraphs", formats::MaxParagraphs - 1},
    {"paragraphs", formats::MaxParagraphs - 1},
    {"pages", formats::MaxParagraphs - 1},
    {"cell-paragraphs", formats::MaxParagraphs - 1},
    {"paragraph-length", formats::MaxParagraphLength},
    {"text-lines", formats::MaxParagraphs - 1},
    {"text-line-length", formats::MaxParagraphLength},
};

} // namespace

int main(int argc, char **argv)
{
    // As in bench_rtf: large buffers fresh from the system in every iteration.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    for (const ShapeSize &s : Shapes) {
        const QString shape = QString::fromLatin1(s.shape);
        benchmark::RegisterBenchmark((std::string("BM_Shape_") + s.shape).c_str(),
                                     [shape](benchmark::State &state) { openShape(state, shape); })
            ->Arg(s.most / 10)
            ->Arg(s.most)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->ComputeStatistics("min", fastest);
    }
    return runBenchmarks(argc, argv);
}
