// The Word and OpenDocument readers on files made to hurt them, and on large files they
// must read: each is opened as Open does (loadFile) in a process of its own, and its
// time and the process's peak memory printed. Each must be refused or read within 3 s
// and 600 MB; the program fails when one is not. Our own .docx at the runs limit is
// measured beside them, the most a file within the limits should cost. Not a Google
// Benchmark: one run each.
//   build-bench/bench/office_hostile          every file
//   build-bench/bench/office_hostile NAME     the files whose name holds NAME

#include "formats/DocumentLoad.h"
#include "formats/Limits.h"
#include "formats/office/DocxWriter.h"
#include "support/OfficeFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextCharFormat>
#include <QTextDocument>

#include <sys/resource.h>

#include <cstdio>
#include <functional>

using namespace officefiles;
namespace office = formats::office;

namespace {

constexpr double MaxSeconds = 3;
constexpr double MaxMB = 600;

const QByteArray Para = "<w:p><w:r><w:t>x</w:t></w:r></w:p>";

QByteArray repeatRuns(int paragraphs, int runs, const std::function<QByteArray(int)> &run)
{
    QByteArray body;
    for (int p = 0, i = 0; p < paragraphs; ++p) {
        body += "<w:p>";
        for (int r = 0; r < runs; ++r, ++i)
            body += run(i);
        body += "</w:p>";
    }
    return body;
}

QByteArray wordRun(int i) { return i % 2 ? "<w:r><w:t>word </w:t></w:r>" : "<w:r><w:rPr><w:b/></w:rPr><w:t>word </w:t></w:r>"; }

// A part of `bytes` bytes: its root around elements made by `element`.
QByteArray filled(const char *root, qint64 bytes, const QByteArray &element)
{
    return '<' + QByteArray(root) + ' ' + WordNs + '>' + element.repeated(bytes / element.size()) + "</" + root + '>';
}

struct Case {
    const char *name;
    std::function<QByteArray()> file;
    // Our own file at a limit: what the caps are measured against, not held to the bounds.
    bool reference = false;
};

const std::vector<Case> &cases()
{
    static const std::vector<Case> all = {
        {"zip bomb", [] { return wordFile(Para + QByteArray(office::MaxPartBytes + 1, ' ')); }},
        {"zip bomb with a small declared size", [] { return lyingSizes(wordFile(Para + QByteArray(office::MaxPartBytes + 1, ' '))); }},
        {"encrypted entries", [] { return encrypted(wordFile(Para)); }},
        {"password-protected odt", [] { return passwordOdt(); }},
        {"entity tricks", [] {
             return office::zip::write({{QStringLiteral("word/document.xml"),
                                         "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"aaaaaaaaaa\">"
                                         "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]>"
                                         "<w:document " + WordNs + "><w:body><w:p><w:r><w:t>&c;</w:t></w:r></w:p></w:body></w:document>"}});
         }},
        {"nested a million deep", [] { return wordFile(QByteArray("<w:p>").repeated(1000000)); }},
        {"odt nested a million deep", [] { return odtFile(QByteArray("<text:span>").repeated(1000000)); }},
        {"40,000 paragraphs of 3 runs (docx)", [] { return wordFile(repeatRuns(40000, 3, wordRun)); }},
        {"40,000 paragraphs of 3 runs (odt)", [] {
             return odtFile(QByteArray("<text:p>word <text:span text:style-name=\"T1\">word </text:span>word </text:p>").repeated(40000));
         }},
        {"1,000 paragraphs of 200 runs", [] { return wordFile(repeatRuns(1000, 200, wordRun)); }},
        {"a table of 8,000 rows of 10 cells", [] {
             return wordFile("<w:tbl>" + ("<w:tr>" + QByteArray("<w:tc><w:p><w:r><w:t>c</w:t></w:r></w:p></w:tc>").repeated(10) + "</w:tr>").repeated(8000) + "</w:tbl>");
         }},
        {"100,000 attributes on one element", [] {
             QByteArray e = "<w:p";
             for (int i = 0; i < 100000; ++i)
                 e += " a" + QByteArray::number(i) + "=\"\"";
             return wordFile(e + "/>" + Para);
         }},
        {"three parts of 63 MB", [] {
             const qint64 size = 63 * 1000 * 1000;
             return office::zip::write({{QStringLiteral("word/document.xml"), filled("w:document", size, "<w:x/>")},
                                        {QStringLiteral("word/styles.xml"), filled("w:styles", size, "<w:x/>")},
                                        {QStringLiteral("word/numbering.xml"), filled("w:numbering", size, "<w:x/>")}});
         }},
        {"a paragraph of 60 MB", [] { return wordFile("<w:p><w:r><w:t>" + QByteArray(60 * 1000 * 1000, 'x') + "</w:t></w:r></w:p>"); }},
        {"499,000 distinct character formats", [] {
             return wordFile(repeatRuns(4990, 100, [](int i) {
                 return "<w:r><w:rPr><w:color w:val=\"" + QByteArray::number(i, 16).rightJustified(6, '0') + "\"/></w:rPr><w:t>x</w:t></w:r>";
             }));
         }},
        // The caps' own worst cases: as much as each lets through.
        {"elements up to their cap", [] { return wordFile(QByteArray("<x/>").repeated(office::MaxXmlItems - 10) + Para); }},
        {"elements of the most attributes", [] {
             QByteArray e = "<x";
             qint64 items = 1; // what the check counts for the element: more for later attributes
             for (int i = 0; i < office::MaxXmlAttributes; ++i) {
                 e += " a" + QByteArray::number(i) + "=\"\"";
                 items += 1 + (i + 1) / 16;
             }
             e += "/>";
             return wordFile(e.repeated(std::min<qint64>(office::MaxXmlItems / items - 10, (office::MaxPartBytes - 1000) / e.size()))
                             + Para);
         }},
        {"prefixes looked up through the most namespaces", [] {
             QByteArray declarations;
             for (int i = 0; i < office::MaxXmlNamespaces - 1; ++i)
                 declarations += " xmlns:n" + QByteArray::number(i) + "=\"u\"";
             const QByteArray element = "<w:x w:a=\"\" w:b=\"\" w:c=\"\"/>";
             // The check counts each of its four names three times: 64 namespaces in scope.
             const qint64 count = std::min<qint64>(office::MaxXmlItems / 12 - 100, (office::MaxPartBytes - 10000) / element.size());
             return wordFile("<w:sdt" + declarations + '>' + element.repeated(count) + "</w:sdt>" + Para);
         }},
        {"our .docx at the runs limit", [] {
             QTextDocument doc;
             fillRuns(doc, formats::MaxRuns);
             return formats::office::docx::write(doc, QStringLiteral("Runs"));
         }, true},
        {"150,000 lists", [] {
             QByteArray body;
             for (int i = 0; i < formats::MaxParagraphs; ++i)
                 body += "<w:p><w:pPr><w:numPr><w:numId w:val=\"" + QByteArray::number(i + 1) + "\"/></w:numPr></w:pPr>"
                         "<w:r><w:t>x</w:t></w:r></w:p>";
             return wordFile(body);
         }},
        {"50,000 merged cells", [] {
             const QByteArray cell = "<w:tc><w:tcPr><w:gridSpan w:val=\"2\"/></w:tcPr><w:p/></w:tc>";
             return wordFile("<w:tbl>" + ("<w:tr>" + cell.repeated(5) + "</w:tr>").repeated(formats::MaxTableCells / 10) + "</w:tbl>");
         }},
    };
    return all;
}

// The process's own peak, from the kernel's count for its memory map: getrusage would
// also count the parent's at the fork.
double peakMB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// In the child: opens the file and prints "seconds cpu-seconds MB outcome".
int readOne(const QString &path)
{
    QTextDocument doc;
    QElapsedTimer clock;
    const double cpu = cpuSeconds();
    clock.start();
    const formats::Result r = formats::loadFile(path, doc, QTextCharFormat());
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    std::printf("%.2f %.2f %.0f %s\n", seconds, cpuSeconds() - cpu, peakMB(),
                qPrintable(r.ok ? QStringLiteral("read, %1 blocks").arg(doc.blockCount()) : r.error.left(60)));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--read")
        return readOne(QString::fromLocal8Bit(argv[2]));
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QTemporaryDir dir;
    bool over = false;
    std::printf("%-46s %7s %7s %5s  %s\n", "file", "seconds", "CPU s", "MB", "outcome");
    for (const Case &c : cases()) {
        if (!QString::fromLatin1(c.name).contains(only))
            continue;
        const QString path = dir.filePath(QStringLiteral("hostile"));
        QFile f(path);
        const QByteArray bytes = c.file();
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return 2;
        f.close();
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--read"), path});
        child.waitForFinished(-1);
        const QString out = QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed();
        const QStringList parts = out.split(QLatin1Char(' '));
        const double seconds = parts.value(0).toDouble(), cpu = parts.value(1).toDouble(), mb = parts.value(2).toDouble();
        const bool bad = parts.size() < 4 || (!c.reference && (seconds > MaxSeconds || mb > MaxMB));
        over = over || bad;
        std::printf("%-46s %7.2f %7.2f %5.0f  %s%s (%.0f KB)\n", c.name, seconds, cpu, mb,
                    bad ? "OVER: " : c.reference ? "reference: " : "",
                    qPrintable(parts.mid(3).join(QLatin1Char(' '))), double(bytes.size()) / 1024);
        std::fflush(stdout);
    }
    return over ? 1 : 0;
}
