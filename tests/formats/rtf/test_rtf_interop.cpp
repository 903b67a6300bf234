// The codec against other programs: files that LibreOffice and pandoc write (made here from
// sources this test writes) read with the text LibreOffice shows, and our own files read
// back by LibreOffice and pandoc with the same text and formats. Skipped only where the
// program is not installed.

#include "InteropSources.h"
#include "RtfTestUtil.h"
#include "StructureDocs.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace rtftest;

namespace {

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// LibreOffice's text export: UTF-8 with a byte order mark, each paragraph followed by a
// line end, the last one too.
QString loText(const QString &path)
{
    QString t = QString::fromUtf8(readFile(path));
    if (t.startsWith(QChar(0xFEFF)))
        t.remove(0, 1);
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return t;
}

// The text of a document as LibreOffice exports it: line breaks become line ends.
QString exportedText(const QTextDocument &doc)
{
    return text(doc).replace(QChar::LineSeparator, QLatin1Char('\n'));
}

// The same words in the same order: LibreOffice puts each table cell on a line of its own
// and indents list items with spaces where we keep tabs.
QString words(const QString &s)
{
    return s.simplified();
}

// A document's runs as "[format]text", neighbours of one format joined, so that a writer
// that splits runs differently compares equal.
QStringList runs(const QTextDocument &doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QString line = describe(b.blockFormat()) + QLatin1Char(':');
        QString last;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QString d = QLatin1Char('[') + describe(it.fragment().charFormat()) + QLatin1Char(']');
            if (d != last)
                line += d;
            line += it.fragment().text();
            last = d;
        }
        out << line;
    }
    return out;
}

QTextCharFormat fmt(const char *family, double points, const std::function<void(QTextCharFormat &)> &set = {})
{
    QTextCharFormat f = baseFormat(QString::fromLatin1(family), points);
    if (set)
        set(f);
    return f;
}

// A document with every character format and paragraph property our writer produces.
void buildFormattedDocument(QTextDocument &doc, bool astral)
{
    QTextCursor c(&doc);
    const QTextCharFormat plain = fmt("Arial", 12);
    c.setBlockCharFormat(plain);
    c.insertText(QStringLiteral("Plain "), plain);
    c.insertText(QStringLiteral("bold"), fmt("Arial", 12, [](auto &f) { f.setFontWeight(QFont::Bold); }));
    c.insertText(QStringLiteral(" "), plain);
    c.insertText(QStringLiteral("italic"), fmt("Arial", 12, [](auto &f) { f.setFontItalic(true); }));
    c.insertText(QStringLiteral(" "), plain);
    c.insertText(QStringLiteral("underline"), fmt("Arial", 12, [](auto &f) { f.setFontUnderline(true); }));
    c.insertText(QStringLiteral(" "), plain);
    c.insertText(QStringLiteral("strike"), fmt("Arial", 12, [](auto &f) { f.setFontStrikeOut(true); }));
    c.insertText(QStringLiteral(" "), plain);
    c.insertText(QStringLiteral("red"), fmt("Arial", 12, [](auto &f) { f.setForeground(QColor(255, 0, 0)); }));
    c.insertText(QStringLiteral(" "), plain);
    c.insertText(QStringLiteral("marked"), fmt("Arial", 12, [](auto &f) { f.setBackground(QColor(255, 255, 0)); }));
    c.insertText(QStringLiteral(" "), plain);
    c.insertText(QStringLiteral("small caps"), fmt("Arial", 12, [](auto &f) { f.setFontCapitalization(QFont::SmallCaps); }));
    c.insertText(QStringLiteral(" "), plain);
    c.insertText(QStringLiteral("Times 18"), fmt("Times New Roman", 18));
    c.insertText(QStringLiteral(" "), plain);
    c.insertText(QStringLiteral("Courier 9.5"), fmt("Courier New", 9.5));
    c.insertText(QStringLiteral(" x"), plain);
    c.insertText(QStringLiteral("2"), fmt("Arial", 12, [](auto &f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); }));
    c.insertText(QStringLiteral(" H"), plain);
    c.insertText(QStringLiteral("2"), fmt("Arial", 12, [](auto &f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); }));
    c.insertText(QStringLiteral("O "), plain);
    c.insertText(QStringLiteral("all at once"), fmt("Verdana", 14, [](auto &f) {
                     f.setFontWeight(QFont::Bold);
                     f.setFontItalic(true);
                     f.setFontUnderline(true);
                     f.setForeground(QColor(0, 0, 200));
                 }));

    QTextBlockFormat centre;
    centre.setAlignment(Qt::AlignHCenter);
    c.insertBlock(centre, plain);
    c.insertText(QStringLiteral("Centred: café “quotes” – dash € Привет Γειά 事業計画 {braces} back\\slash"), plain);
    if (astral)
        c.insertText(QStringLiteral(" 😀"), plain);

    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    c.insertBlock(right, plain);
    c.insertText(QStringLiteral("Right\tafter a tab"), plain);

    QTextBlockFormat justified;
    justified.setAlignment(Qt::AlignJustify);
    c.insertBlock(justified, plain);
    c.insertText(QStringLiteral("Justified text that runs long enough to wrap over more than one line of the "
                                "page, so that justification shows."),
                 plain);

    QTextBlockFormat indented;
    indented.setLeftMargin(48);
    indented.setRightMargin(24);
    indented.setTextIndent(-24);
    c.insertBlock(indented, plain);
    c.insertText(QStringLiteral("Indented with a hanging first line"), plain);

    c.insertBlock(QTextBlockFormat(), plain);
    QTextBlockFormat newPage;
    newPage.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    c.insertBlock(newPage, plain);
    c.insertText(QStringLiteral("On a new page after an empty paragraph, with a line"), plain);
    c.insertText(QString(QChar::LineSeparator), plain);
    c.insertText(QStringLiteral("break and (blank)            "), plain);
    // Ending with a line end, as a composed plan does.
    c.insertBlock(QTextBlockFormat(), plain);
}

} // namespace

class RtfInteropTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    void libreOfficeFiles_readWithTheTextLibreOfficeShows();
    void pandocFiles_readWithTheTextLibreOfficeShows();
    void ourFiles_libreOfficeReadsTheSameTextAndFormats();
    void ourFiles_pandocReadsTheSameTextAndFormats();
    void ourStructure_libreOfficeShowsHeadingsTitleAndPages();

private:
    bool soffice(const QStringList &args, const QString &outDir, const QStringList &files);
    bool pandoc(const QStringList &args, QByteArray *out = nullptr);

    QTemporaryDir dir_;
    QString soffice_;
    QString pandoc_;
};

void RtfInteropTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    soffice_ = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    pandoc_ = QStandardPaths::findExecutable(QStringLiteral("pandoc"));
}

// Converts files with a private LibreOffice profile, so no user's settings or running
// instance take part.
bool RtfInteropTest::soffice(const QStringList &args, const QString &outDir, const QStringList &files)
{
    QProcess p;
    QStringList all{QStringLiteral("-env:UserInstallation=")
                        + QUrl::fromLocalFile(dir_.filePath(QStringLiteral("profile"))).toString(),
                    QStringLiteral("--headless"), QStringLiteral("--norestore")};
    all << args << QStringLiteral("--outdir") << outDir << files;
    p.start(soffice_, all);
    if (!p.waitForFinished(180000)) {
        p.kill();
        p.waitForFinished();
        qWarning() << "soffice timed out";
        return false;
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning() << "soffice failed:" << p.readAllStandardError();
        return false;
    }
    return true;
}

bool RtfInteropTest::pandoc(const QStringList &args, QByteArray *out)
{
    QProcess p;
    p.start(pandoc_, args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    if (out)
        *out = p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning() << "pandoc failed:" << p.readAllStandardError();
        return false;
    }
    return true;
}

void RtfInteropTest::libreOfficeFiles_readWithTheTextLibreOfficeShows()
{
    if (soffice_.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed");
    const QString src = dir_.filePath(QStringLiteral("lo-src"));
    const QString out = dir_.filePath(QStringLiteral("lo-out"));
    QVERIFY(QDir().mkpath(src) && QDir().mkpath(out));
    QVERIFY(writeFile(src + "/prose.html", ProseHtml));
    QVERIFY(writeFile(src + "/structure.html", StructureHtml));
    QVERIFY(soffice({QStringLiteral("--infilter=HTML (StarWriter)"), QStringLiteral("--convert-to"), QStringLiteral("rtf")},
                    out, {src + "/prose.html", src + "/structure.html"}));
    QVERIFY(soffice({QStringLiteral("--convert-to"), QStringLiteral("txt:Text (encoded):UTF8")}, out,
                    {out + "/prose.rtf", out + "/structure.rtf"}));

    const QByteArray prose = readFile(out + "/prose.rtf");
    const QByteArray structure = readFile(out + "/structure.rtf");
    // The files hold what this test is about.
    QVERIFY(prose.contains("\\fldrslt"));
    QVERIFY(structure.contains("\\listtext") || structure.contains("\\pntext"));
    QVERIFY(structure.contains("\\cell"));

    formats::Result r;
    const auto proseDoc = readDoc(prose, &r);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(exportedText(*proseDoc), loText(out + "/prose.txt"));
    const auto structureDoc = readDoc(structure, &r);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(words(exportedText(*structureDoc)), words(loText(out + "/structure.txt")));
    // Tables read row by row, cells separated by tabs; list items start with their marker.
    const QStringList lines = text(*structureDoc).split(QLatin1Char('\n'));
    QVERIFY2(lines.contains(QStringLiteral("A1\tB1\tC1")), qPrintable(lines.join(QLatin1Char('|'))));
    QVERIFY2(lines.contains(QStringLiteral("A2\t\tC2 with words")), qPrintable(lines.join(QLatin1Char('|'))));
    QVERIFY(lines.contains(QStringLiteral("•\tFirst bullet")));

    // Formats LibreOffice wrote come back.
    const QString all = runs(*proseDoc).join(QLatin1Char('\n'));
    for (const char *expected : {" bold]bold", " italic]italic", " underline1]underline", " strike]strike",
                                 " fg#ff0000]red", "[Courier New ", " 20]big", " bg#ffff00]marked", " valign1]2",
                                 " valign2]2"})
        QVERIFY2(all.contains(QLatin1String(expected)), qPrintable(QStringLiteral("%1 not in\n%2").arg(expected, all)));
    QVERIFY(describe(proseDoc->findBlockByNumber(2).blockFormat()).startsWith(QStringLiteral("align4")));
}

void RtfInteropTest::pandocFiles_readWithTheTextLibreOfficeShows()
{
    if (pandoc_.isEmpty())
        QSKIP("pandoc is not installed");
    if (soffice_.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed");
    const QString src = dir_.filePath(QStringLiteral("pd-src"));
    const QString out = dir_.filePath(QStringLiteral("pd-out"));
    QVERIFY(QDir().mkpath(src) && QDir().mkpath(out));
    QVERIFY(writeFile(src + "/plan.md", PlanMarkdown));
    QVERIFY(pandoc({QStringLiteral("-s"), QStringLiteral("-t"), QStringLiteral("rtf"), src + "/plan.md",
                    QStringLiteral("-o"), out + "/plan.rtf"}));
    QVERIFY(soffice({QStringLiteral("--convert-to"), QStringLiteral("txt:Text (encoded):UTF8")}, out, {out + "/plan.rtf"}));

    formats::Result r;
    const auto doc = readDoc(readFile(out + "/plan.rtf"), &r);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(words(exportedText(*doc)), words(loText(out + "/plan.txt")));
    const QStringList lines = text(*doc).split(QLatin1Char('\n'));
    QVERIFY(lines.contains(QStringLiteral("A\t1")));
    QVERIFY(lines.contains(QStringLiteral("•\tFirst bullet")));
    const QString all = runs(*doc).join(QLatin1Char('\n'));
    for (const char *expected : {" bold]bold", " italic]italic", " strike]strike", "[Courier ", " valign1]2", " valign2]2"})
        QVERIFY2(all.contains(QLatin1String(expected)), qPrintable(QStringLiteral("%1 not in\n%2").arg(expected, all)));
}

void RtfInteropTest::ourFiles_libreOfficeReadsTheSameTextAndFormats()
{
    if (soffice_.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed");
    const QString src = dir_.filePath(QStringLiteral("our-src"));
    const QString out = dir_.filePath(QStringLiteral("our-out"));
    QVERIFY(QDir().mkpath(src) && QDir().mkpath(out));
    QTextDocument doc;
    buildFormattedDocument(doc, true);
    QVERIFY(writeFile(src + "/ours.rtf", formats::rtf::write(doc)));

    // LibreOffice's text, and LibreOffice's own RTF of what it read, which our reader
    // (tested on its own above) turns back into formats.
    QVERIFY(soffice({QStringLiteral("--convert-to"), QStringLiteral("txt:Text (encoded):UTF8")}, out, {src + "/ours.rtf"}));
    QVERIFY(soffice({QStringLiteral("--convert-to"), QStringLiteral("rtf")}, out, {src + "/ours.rtf"}));
    QCOMPARE(loText(out + "/ours.txt").split(QLatin1Char('\n')), exportedText(doc).split(QLatin1Char('\n')));

    formats::Result r;
    const auto back = readDoc(readFile(out + "/ours.rtf"), &r);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(runs(*back), runs(doc));
}

void RtfInteropTest::ourFiles_pandocReadsTheSameTextAndFormats()
{
    if (pandoc_.isEmpty())
        QSKIP("pandoc is not installed");
    const QString src = dir_.filePath(QStringLiteral("our-pd"));
    QVERIFY(QDir().mkpath(src));
    QTextDocument doc;
    // pandoc 2.17 reads no character beyond U+FFFF from any RTF file, its own included.
    buildFormattedDocument(doc, false);
    QVERIFY(writeFile(src + "/ours.rtf", formats::rtf::write(doc)));

    QByteArray html;
    QVERIFY(pandoc({QStringLiteral("-f"), QStringLiteral("rtf"), QStringLiteral("-t"), QStringLiteral("html"),
                    QStringLiteral("--wrap=none"), src + "/ours.rtf"},
                   &html));
    const QString h = QString::fromUtf8(html);
    QString shown = h;
    shown.replace(QRegularExpression(QStringLiteral("<[^>]*>")), QStringLiteral(" "));
    shown.replace(QLatin1String("&lt;"), QLatin1String("<")).replace(QLatin1String("&gt;"), QLatin1String(">"));
    shown.replace(QLatin1String("&quot;"), QLatin1String("\"")).replace(QLatin1String("&amp;"), QLatin1String("&"));
    QString expected = exportedText(doc);
    expected.replace(QRegularExpression(QStringLiteral("([xH])([2])")), QStringLiteral("\\1 \\2 "));
    QCOMPARE(words(shown), words(expected));
    for (const char *expected : {"<strong>bold</strong>", "<em>italic</em>", "<u>underline</u>", "<del>strike</del>",
                                 "<sup>2</sup>", "<sub>2</sub>", "<strong><em><u>all at once</u></em></strong>"})
        QVERIFY2(h.contains(QLatin1String(expected)), qPrintable(QStringLiteral("%1 not in\n%2").arg(expected, h)));
}

// LibreOffice's own document (flat OpenDocument, the content.xml of an .odt in one file)
// of our file: headings as text:h with their outline levels, the title in the Title
// style, page breaks before the headings that start a page, lists as text:list, a table
// as table:table.
void RtfInteropTest::ourStructure_libreOfficeShowsHeadingsTitleAndPages()
{
    if (soffice_.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed");
    const QString out = dir_.filePath(QStringLiteral("structure"));
    QVERIFY(QDir().mkpath(out));
    QTextDocument doc;
    buildStructured(doc, QStringLiteral("title:Juniper Hearth|p:Business Plan|page h1:1. Executive Summary|p:Text|"
                                        "h2:Goals|number:Open|number:Hire|p:Staff|bullet:Ann|bullet:Bob|page h1:2. The Business|table:,Jan,*Total;Income,>1000,>*1000|p:x"));
    QVERIFY(writeFile(out + "/plan.rtf", formats::rtf::write(doc)));
    QVERIFY(soffice({QStringLiteral("--convert-to"), QStringLiteral("fodt")}, out, {out + "/plan.rtf"}));
    const QString xml = QString::fromUtf8(readFile(out + "/plan.fodt"));
    const QString body = xml.mid(xml.indexOf(QLatin1String("<office:body")));

    QStringList headings;
    static const QRegularExpression h(QStringLiteral("<text:h [^>]*text:outline-level=\"(\\d)\"[^>]*>(.*?)</text:h>"));
    for (auto it = h.globalMatch(body); it.hasNext();) {
        const auto m = it.next();
        headings << m.captured(1) + QLatin1Char(' ') + QString(m.captured(2)).remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    }
    QCOMPARE(headings, (QStringList{QStringLiteral("1 1. Executive Summary"), QStringLiteral("2 Goals"),
                                    QStringLiteral("1 2. The Business")}));
    QVERIFY(xml.contains(QLatin1String("style:parent-style-name=\"Title\"")));
    QCOMPARE(xml.count(QLatin1String("fo:break-before=\"page\"")), 1); // one style for both headings
    QVERIFY(!body.contains(QLatin1String("<text:p text:style-name=\"Standard\"/>"))); // no empty paragraph
    QCOMPARE(body.count(QLatin1String("<text:list ")), 2);
    QCOMPARE(body.count(QLatin1String("<text:list-item>")), 4);
    QCOMPARE(body.count(QLatin1String("<table:table ")), 1);
    QCOMPARE(body.count(QLatin1String("<table:table-row")), 2);
    QCOMPARE(body.count(QLatin1String("<table:table-cell ")), 6);
    static const QRegularExpression cell(QStringLiteral("<table:table-cell [^>]*>(.*?)</table:table-cell>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    QStringList cells;
    for (auto it = cell.globalMatch(body); it.hasNext();)
        cells << QString(it.next().captured(1)).remove(QRegularExpression(QStringLiteral("<[^>]*>"))).trimmed();
    QCOMPARE(cells, (QStringList{QString(), QStringLiteral("Jan"), QStringLiteral("Total"), QStringLiteral("Income"),
                                 QStringLiteral("1000"), QStringLiteral("1000")}));
}

QTEST_MAIN(RtfInteropTest)
#include "test_rtf_interop.moc"
