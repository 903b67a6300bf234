// The editor's own work on large documents: composing a full plan, Find Next over the
// whole document, loading an RTF file into the editor page, and the writing tools on it
// (spelling while opening and typing, Replace All, the word count).

#include "BenchDocument.h"
#include "QuietPrompts.h"

#include "app/AppContext.h"
#include "app/PageIds.h"
#include "editor/EditorPage.h"
#include "editor/EditorSpelling.h"
#include "editor/EditorView.h"
#include "editor/ReplacePanel.h"
#include "editor/SpellHighlighter.h"
#include "plan/PlanRecord.h"
#include "plandoc/PlanDocument.h"
#include "ProgramPages.h"
#include "text/SpellChecker.h"

#include <QApplication>
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "RunBenchmarks.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

struct Editor {
    QuietPrompts prompts;
    AppContext ctx{prompts};
    QTemporaryDir dir;
    EditorPage *page = nullptr;

    explicit Editor(qint64 rtfBytes)
    {
        registerProgramPages(ctx.nav);
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
        const QString doc = plandoc::composePlan(plan);
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

void setSpelling(Editor &e, bool on)
{
    auto *toggle = e.page->findChild<QAction *>(QStringLiteral("mnuOptionsSpelling"));
    if (toggle && toggle->isChecked() != on)
        toggle->trigger();
}

// Open with the underline on (1) or off (0), until the page is idle again: the paragraphs
// on screen are checked, the rest of the document is not.
void BM_OpenWithSpelling(benchmark::State &state)
{
    Editor e(state.range(1));
    if (!e.page->spelling()->available())
        state.SkipWithError("no Hunspell dictionary");
    setSpelling(e, state.range(0) != 0);
    for (auto _ : state) {
        e.page->openDocument();
        QCoreApplication::processEvents();
    }
    state.counters["rtf_bytes"] = double(bench::rtfOfSize(state.range(1)).size());
}
BENCHMARK(BM_OpenWithSpelling)
    ->Args({0, 10 << 20})->Args({1, 10 << 20})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("min", fastest);

// What spelling does once Qt has laid out an opened document (it waits for that): take
// up the new document and underline the paragraphs on screen.
void BM_FirstCheckAfterOpen(benchmark::State &state)
{
    Editor e(state.range(0));
    setSpelling(e, true);
    for (auto _ : state) {
        state.PauseTiming();
        e.page->openDocument();
        e.page->textEdit()->document()->documentLayout()->documentSize();
        state.ResumeTiming();
        e.page->spelling()->highlighter()->checkVisibleNow();
    }
    state.counters["checked_paragraphs"] = e.page->spelling()->highlighter()->checkedBlocks();
    state.counters["rtf_bytes"] = double(bench::rtfOfSize(state.range(0)).size());
}
BENCHMARK(BM_FirstCheckAfterOpen)->Arg(10 << 20)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("min", fastest);

// One key typed into a paragraph on screen of the opened document, underline on or off:
// Qt re-highlights that paragraph and the checker looks at its words.
void BM_KeystrokeWithSpelling(benchmark::State &state)
{
    Editor e(state.range(1));
    setSpelling(e, state.range(0) != 0);
    e.page->openDocument();
    QTextEdit *edit = e.page->textEdit();
    // Typing starts once the page is idle: laid out, the paragraphs on screen checked.
    edit->document()->documentLayout()->documentSize();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    QTextCursor c(edit->document()->findBlockByNumber(3));
    edit->setTextCursor(c);
    int typed = 0;
    for (auto _ : state) {
        // A new letter each time, so the word is new to the checker's cache.
        const QChar letter = QChar(u'a' + typed++ % 26);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString(letter));
        QCoreApplication::sendEvent(edit, &press);
        if (typed % 8 == 0) {
            state.PauseTiming();
            edit->textCursor().insertText(QStringLiteral(" ")); // start another word
            state.ResumeTiming();
        }
    }
    state.counters["rtf_bytes"] = double(bench::rtfOfSize(state.range(1)).size());
}
BENCHMARK(BM_KeystrokeWithSpelling)
    ->Args({0, 10 << 20})->Args({1, 10 << 20})
    ->Unit(benchmark::kMicrosecond)->UseRealTime()->ComputeStatistics("min", fastest);

// The checker's share of a keystroke: the words of the edited paragraph (a hundred
// words, all known to its cache but the one being typed).
void BM_CheckParagraph(benchmark::State &state)
{
    const QString dictionary = text::SpellChecker::findDictionary(QStringLiteral("en_US"), text::SpellChecker::systemDirectories());
    text::SpellChecker checker(dictionary);
    if (!checker.isValid())
        state.SkipWithError("no en_US Hunspell dictionary");
    QString paragraph;
    for (int i = 0; i < 100; ++i)
        paragraph += QStringLiteral("business plan market customers bussiness ").section(QLatin1Char(' '), i % 5, i % 5)
                     + QLatin1Char(' ');
    checker.misspellings(paragraph);
    int typed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QString word = QStringLiteral("growt");
        for (int n = ++typed; n > 0; n /= 26)
            word += QChar(u'a' + n % 26);
        const QString text = paragraph + word;
        state.ResumeTiming();
        benchmark::DoNotOptimize(checker.misspellings(text).size());
    }
}
BENCHMARK(BM_CheckParagraph)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", fastest);

// Replace All of "the" (one word in fifty of the document) through the replace bar, with
// the underline on; undone between runs.
void BM_ReplaceAll(benchmark::State &state)
{
    Editor e(state.range(0));
    e.page->openDocument();
    QCoreApplication::processEvents();
    e.page->openReplace();
    ReplacePanel *panel = e.page->replacePanel();
    panel->findChild<QLineEdit *>(QStringLiteral("txtFindWhat"))->setText(QStringLiteral("the"));
    panel->findChild<QLineEdit *>(QStringLiteral("txtReplaceWith"))->setText(QStringLiteral("a"));
    int replaced = 0;
    for (auto _ : state) {
        replaced = panel->replaceAll();
        QCoreApplication::processEvents();
        state.PauseTiming();
        e.page->textEdit()->undo();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (replaced == 0)
        state.SkipWithError("nothing replaced");
    state.counters["replaced"] = replaced;
    state.counters["rtf_bytes"] = double(bench::rtfOfSize(state.range(0)).size());
}
BENCHMARK(BM_ReplaceAll)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("min", fastest);

// The word count of the whole document, as the bottom row shows it after a pause.
void BM_WordCount(benchmark::State &state)
{
    Editor e(state.range(0));
    e.page->openDocument();
    qsizetype words = 0;
    for (auto _ : state) {
        words = countDocument(*e.page->textEdit()->document()).words;
        benchmark::DoNotOptimize(words);
    }
    state.counters["words"] = double(words);
    state.counters["rtf_bytes"] = double(bench::rtfOfSize(state.range(0)).size());
}
BENCHMARK(BM_WordCount)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("min", fastest);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
