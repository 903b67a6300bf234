// Speed of the RTF reader and writer on generated documents of 100 KB, 1 MB and 10 MB, and
// the peak memory of quorvane-rtf-to-text on the 10 MB file. scripts/bench runs them.

#include "BenchDocument.h"

#include "formats/rtf/Rtf.h"
#include "formats/rtf/RtfParse.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "RunBenchmarks.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fcntl.h>
#include <malloc.h>
#include <map>
#include <memory>
#include <vector>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int64_t KB = 1024;
constexpr int64_t MB = 1024 * KB;

void setSizeCounters(benchmark::State &state, qint64 bytes)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
    state.counters["rtf_bytes"] = double(bytes);
}

// Each size cycles through different documents of 10 MB in all, so that no size finds
// the previous iteration's document still in the processor's caches: a program opens or
// saves a file it has not just handled. (Repeating one small document would measure it
// cache-warm and the 10 MB one cold.)
int documentsFor(int64_t size)
{
    return int(std::max<int64_t>(1, 10 * MB / size));
}

// The RTF files one size cycles through.
std::vector<const QByteArray *> filesFor(int64_t size)
{
    std::vector<const QByteArray *> files;
    for (int i = 0; i < documentsFor(size); ++i)
        files.push_back(&bench::rtfOfSize(size, i));
    return files;
}

void BM_ReadRtf(benchmark::State &state)
{
    const std::vector<const QByteArray *> files = filesFor(state.range(0));
    qint64 bytes = 0;
    size_t next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<QTextDocument>();
        const QByteArray &data = *files[next++ % files.size()];
        bytes += data.size();
        state.ResumeTiming();
        const formats::Result r = formats::rtf::read(data, *doc);
        benchmark::DoNotOptimize(r.ok);
        state.PauseTiming();
        if (!r.ok)
            state.SkipWithError("the reader refused the file");
        doc.reset();
        state.ResumeTiming();
    }
    setSizeCounters(state, bytes / std::max<int64_t>(1, int64_t(state.iterations())));
}

void BM_WriteRtf(benchmark::State &state)
{
    static std::map<int64_t, std::vector<std::unique_ptr<QTextDocument>>> cache;
    auto &docs = cache[state.range(0)];
    if (docs.empty()) {
        for (int i = 0; i < documentsFor(state.range(0)); ++i) {
            docs.push_back(std::make_unique<QTextDocument>());
            docs.back()->setUndoRedoEnabled(false);
            bench::buildDocument(*docs.back(), state.range(0), i);
        }
    }
    qint64 bytes = 0;
    size_t next = 0;
    for (auto _ : state) {
        const QByteArray out = formats::rtf::write(*docs[next++ % docs.size()]);
        bytes += out.size();
        benchmark::DoNotOptimize(out.constData());
    }
    setSizeCounters(state, bytes / std::max<int64_t>(1, int64_t(state.iterations())));
}

// The parser alone: the reader's model of the file, without building a document.
void BM_ParseRtf(benchmark::State &state)
{
    const std::vector<const QByteArray *> files = filesFor(state.range(0));
    qint64 bytes = 0;
    size_t next = 0;
    for (auto _ : state) {
        const QByteArray &data = *files[next++ % files.size()];
        bytes += data.size();
        const formats::Result r = formats::rtf::detail::parseOnly(data);
        benchmark::DoNotOptimize(r.ok);
    }
    setSizeCounters(state, bytes / std::max<int64_t>(1, int64_t(state.iterations())));
}

// Qt's own share of reading: the paragraphs and runs the reader produces, inserted into a
// new QTextDocument the way the reader does it, without any RTF.
void BM_QtPopulate(benchmark::State &state)
{
    struct Piece {
        QString text;
        QTextCharFormat format;
    };
    struct Paragraph {
        QTextBlockFormat format;
        QTextCharFormat mark;
        std::vector<Piece> pieces;
    };
    std::vector<std::vector<Paragraph>> documents(size_t(documentsFor(state.range(0))));
    for (size_t i = 0; i < documents.size(); ++i) {
        QTextDocument read;
        formats::rtf::read(bench::rtfOfSize(state.range(0), int(i)), read);
        for (QTextBlock b = read.begin(); b.isValid(); b = b.next()) {
            Paragraph p{b.blockFormat(), b.charFormat(), {}};
            for (auto it = b.begin(); !it.atEnd(); ++it)
                p.pieces.push_back(Piece{it.fragment().text(), it.fragment().charFormat()});
            documents[i].push_back(std::move(p));
        }
    }
    size_t next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<QTextDocument>();
        const std::vector<Paragraph> &paragraphs = documents[next++ % documents.size()];
        state.ResumeTiming();
        doc->setUndoRedoEnabled(false);
        QTextCursor cursor(doc.get());
        cursor.beginEditBlock();
        for (size_t i = 0; i < paragraphs.size(); ++i) {
            if (i == 0) {
                cursor.setBlockFormat(paragraphs[i].format);
                cursor.setBlockCharFormat(paragraphs[i].mark);
            } else {
                cursor.insertBlock(paragraphs[i].format, paragraphs[i].mark);
            }
            for (const Piece &piece : paragraphs[i].pieces)
                cursor.insertText(piece.text, piece.format);
        }
        cursor.endEditBlock();
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    setSizeCounters(state, bench::rtfOfSize(state.range(0)).size());
}

// Runs a program with its standard output discarded and prints its peak resident memory
// in KB. The benchmark starts this in a fresh copy of itself: the kernel counts the memory
// of the process a program was started from into the program's peak, so that process must
// be small.
int reportPeakMemory(char **command)
{
    const pid_t pid = fork();
    if (pid < 0)
        return 1;
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        execv(command[0], command);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return 1;
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}

// Peak resident memory of the command-line reader on a file of the given size.
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
    double peakMb = 0;
    for (auto _ : state) {
        QProcess p;
        p.start(QStringLiteral("/proc/self/exe"),
                {QStringLiteral("--peak-memory-of"), QStringLiteral(QUORVANE_RTF_TO_TEXT), path});
        bool ok = false;
        const long kb = p.waitForFinished(60000) && p.exitCode() == 0 ? p.readAllStandardOutput().trimmed().toLong(&ok) : 0;
        if (!ok) {
            state.SkipWithError("quorvane-rtf-to-text failed");
            return;
        }
        peakMb = std::max(peakMb, double(kb) / 1024.0);
    }
    state.counters["peak_MB"] = peakMb;
    setSizeCounters(state, bench::rtfOfSize(state.range(0)).size());
}

} // namespace

BENCHMARK(BM_ReadRtf)->Arg(100 * KB)->Arg(1 * MB)->Arg(10 * MB)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_ParseRtf)->Arg(100 * KB)->Arg(1 * MB)->Arg(10 * MB)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_QtPopulate)->Arg(100 * KB)->Arg(1 * MB)->Arg(10 * MB)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_WriteRtf)->Arg(100 * KB)->Arg(1 * MB)->Arg(10 * MB)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->ComputeStatistics("min", fastest);
BENCHMARK(BM_RtfToTextPeakMemory)->Arg(10 * MB)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->ComputeStatistics("min", fastest);

int main(int argc, char **argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--peak-memory-of") == 0)
        return reportPeakMemory(argv + 2);
    // Every large buffer comes fresh from the system in every iteration, as when the
    // program opens or saves one file, instead of depending on what earlier iterations of
    // another size left in the heap (glibc otherwise moves its mmap threshold as it goes).
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
