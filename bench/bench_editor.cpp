// The editor's own work on large documents: composing a full plan, Find Next over the
// whole document, and loading an RTF file into the editor page.

#include "BenchDocument.h"
#include "QuietPrompts.h"

#include "app/AppContext.h"
#include "app/PageIds.h"
#include "document/EditorPage.h"
#include "document/PlanDocument.h"
#include "plan/PlanRecord.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

// The fastest repetition is the one least disturbed by other work on the machine.
double fastest(const std::vector<double> &v)
{
    return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
}

struct Editor {
    QuietPrompts prompts;
    AppContext ctx{prompts};
    QTemporaryDir dir;
    EditorPage *page = nullptr;

    explicit Editor(qint64 rtfBytes)
    {
        prompts.file = dir.filePath(QStringLiteral("plan.rtf"));
        QFile f(prompts.file);
        f.open(QIODevice::WriteOnly);
        f.write(bench::rtfOfSize(rtfBytes));
        f.close();
        page = qobject_cast<EditorPage *>(ctx.nav.show(QString::fromLatin1(PageId::TxtEditor)));
    }
};

void BM_ComposePlan(benchmark::State &state)
{
    PlanRecord plan;
    const QString answer = QStringLiteral("We bake bread, cakes and pastries every morning.\nOur shop opens at six.");
    for (const PlanField &f : planFields())
        f.set(plan, answer);
    qint64 chars = 0;
    for (auto _ : state) {
        const QString doc = composePlan(plan);
        chars = doc.size();
        benchmark::DoNotOptimize(doc.data());
    }
    state.counters["chars"] = double(chars);
}
BENCHMARK(BM_ComposePlan)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", fastest);

// Find Next for a word found only at the very end: one search over the whole document.
void BM_FindNext(benchmark::State &state)
{
    Editor e(state.range(0));
    e.page->openDocument();
    QTextCursor end(e.page->textEdit()->document());
    end.movePosition(QTextCursor::End);
    end.insertText(QStringLiteral(" zqxjv"));
    e.prompts.findWhat = QStringLiteral("ZQXJV");
    e.page->find(); // sets the text Find Next looks for
    for (auto _ : state) {
        state.PauseTiming();
        e.page->textEdit()->moveCursor(QTextCursor::Start);
        state.ResumeTiming();
        e.page->findNext();
    }
    if (!e.page->textEdit()->textCursor().hasSelection())
        state.SkipWithError("the word was not found");
    state.counters["rtf_bytes"] = double(bench::rtfOfSize(state.range(0)).size());
}
BENCHMARK(BM_FindNext)->Arg(100 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("min", fastest);

// Open of an RTF file into the editor page, as the File menu does it.
void BM_LoadIntoEditor(benchmark::State &state)
{
    Editor e(state.range(0));
    for (auto _ : state)
        e.page->openDocument();
    state.counters["rtf_bytes"] = double(bench::rtfOfSize(state.range(0)).size());
}
BENCHMARK(BM_LoadIntoEditor)->Arg(100 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("min", fastest);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
