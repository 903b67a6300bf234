// How the editor page copes with a file of one shape and size, measured on a real display
// (run under Xvfb): Open, the first paint, a key typed after it, Find over the whole text,
// the CPU the idle page uses afterwards, and the peak memory. One file per process, so the
// peak memory is that file's. The figures behind the limits in Rtf.h and DocumentLoad.h.
//   xvfb-run -a build-bench/bench/editor_limits SHAPE N

#include "QuietPrompts.h"
#include "Shapes.h"

#include "app/AppContext.h"
#include "app/PageIds.h"
#include "editor/EditorPage.h"
#include "ProgramPages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

namespace {

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double peakMB()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

// Counts paints of the text area, so a test can wait for the next one.
class PaintWatch : public QObject {
public:
    int paints = 0;
    int keys = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        if (e->type() == QEvent::KeyPress)
            ++keys;
        return false;
    }
};

// Runs the event loop until the watch has seen one more paint than `before`, or the time
// is up; returns the milliseconds waited, -1 on time out.
double waitForPaint(const PaintWatch &watch, int before, const QElapsedTimer &since, int timeoutMs = 60000)
{
    while (watch.paints <= before) {
        if (since.elapsed() > timeoutMs)
            return -1;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return double(since.nsecsElapsed()) / 1e6;
}

void runEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void measure(const QString &shape, qint64 n)
{
    QTemporaryDir dir;
    QuietPrompts prompts;
    prompts.file = dir.filePath(QStringLiteral("shape"));
    const QByteArray data = bench::shapeFile(shape, n);
    {
        QFile f(prompts.file);
        if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size()) {
            std::printf("%s %lld: cannot write the file\n", qPrintable(shape), n);
            return;
        }
    }
    AppContext ctx{prompts};
    registerProgramPages(ctx.nav);
    auto *page = qobject_cast<EditorPage *>(ctx.nav.show(QString::fromLatin1(PageId::TxtEditor)));
    QTextEdit *edit = page->textEdit();
    PaintWatch watch;
    edit->viewport()->installEventFilter(&watch);
    edit->installEventFilter(&watch);
    runEventLoop(500); // the composed plan shown and settled
    const double baseMB = peakMB();

    QElapsedTimer t;
    t.start();
    const int paintsBefore = watch.paints;
    page->openDocument();
    const double openMs = double(t.nsecsElapsed()) / 1e6;
    const bool refused = page->windowTitle() == EditorPage::initialCaption();
    if (refused) {
        std::printf("%-17s %9lld %6.1f MB  refused in %.0f ms: %s\n", qPrintable(shape), n, data.size() / 1e6, openMs,
                    qPrintable(prompts.lastText.section(QLatin1Char('\n'), -1)));
        return;
    }
    const double paintMs = waitForPaint(watch, paintsBefore, t);

    // A key at the end of the first line, posted as the window system would deliver it.
    edit->moveCursor(QTextCursor::Start);
    edit->moveCursor(QTextCursor::EndOfLine);
    runEventLoop(200);
    QElapsedTimer k;
    k.start();
    const int paintsBeforeKey = watch.paints;
    QCoreApplication::postEvent(edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x")));
    QCoreApplication::postEvent(edit, new QKeyEvent(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x")));
    const double keyMs = waitForPaint(watch, paintsBeforeKey, k);

    // Find of a word that is nowhere: one search over the whole text.
    prompts.findWhat = QStringLiteral("zqxjv");
    QElapsedTimer f;
    f.start();
    page->find();
    const double findMs = double(f.nsecsElapsed()) / 1e6;

    // The idle page: CPU over three seconds, a second after the find.
    runEventLoop(1000);
    const double cpu0 = cpuSeconds();
    QElapsedTimer idle;
    idle.start();
    runEventLoop(3000);
    const double idlePercent = 100.0 * (cpuSeconds() - cpu0) / (double(idle.nsecsElapsed()) / 1e9);

    std::printf("%-17s %9lld %6.1f MB  open %7.0f ms  paint %7.0f ms  key %6.0f ms  find %6.0f ms  idle %3.0f %%  "
                "memory %5.0f MB (+%.0f)\n",
                qPrintable(shape), n, data.size() / 1e6, openMs, paintMs, keyMs, findMs, idlePercent, peakMB(),
                peakMB() - baseMB);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: editor_limits SHAPE N\nshapes: %s\n",
                     qPrintable(bench::shapeNames().join(QLatin1Char(' '))));
        return 2;
    }
    measure(QString::fromLocal8Bit(argv[1]), QByteArray(argv[2]).toLongLong());
    return 0;
}
