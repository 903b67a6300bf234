// The RTF codec on its own: our files round-trip every format we write, the reader
// understands what other writers emit, and no input makes it crash or hang.

#include "RtfTestUtil.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace rtftest;

class RtfTest : public QObject {
    Q_OBJECT
private slots:
    void looksLikeRtf_data();
    void looksLikeRtf();

    void roundTrip_keepsCharacterFormat_data();
    void roundTrip_keepsCharacterFormat();
    void roundTrip_keepsText_data();
    void roundTrip_keepsText();
    void roundTrip_keepsParagraphFormat_data();
    void roundTrip_keepsParagraphFormat();
    void roundTrip_keepsMixedRunsAndEmptyParagraphFormats();
    void roundTrip_documentWithoutFormatsUsesDefaultFont();
    void roundTrip_manyColoursReadBack();

    void write_headerDeclaresCodePageFontsAndColours();
    void write_nonAsciiAsUnicodeWithAsciiFallback_data();
    void write_nonAsciiAsUnicodeWithAsciiFallback();
    void write_fontNamesWithoutRegardToCase();
    void write_oneParPerLineEnd_data();
    void write_oneParPerLineEnd();

    void read_basics_data();
    void read_basics();
    void read_formats_data();
    void read_formats();
    void read_notRtf_refusedAndDocumentKept();

    void rtfToText_printsOneLinePerParagraphInUtf8();
    void rtfToText_printsWhatOpenShows_data();
    void rtfToText_printsWhatOpenShows();
    void rtfToText_refusedFileFailsWithItsReason();
    void rtfToText_nonRegularFile_refusedWithoutBlocking_data();
    void rtfToText_nonRegularFile_refusedWithoutBlocking();
};

void RtfTest::looksLikeRtf_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("expected");
    QTest::newRow("rtf") << QByteArray("{\\rtf1 x}") << true;
    QTest::newRow("leading white space") << QByteArray(" \r\n\t{\\rtf1}") << true;
    QTest::newRow("plain text") << QByteArray("hello") << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("other control word") << QByteArray("{\\rtx1}") << false;
    QTest::newRow("cut short") << QByteArray("{\\rt") << false;
}

void RtfTest::looksLikeRtf()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, expected);
    QCOMPARE(formats::rtf::looksLikeRtf(data), expected);
}

void RtfTest::roundTrip_keepsCharacterFormat_data()
{
    QTest::addColumn<QTextCharFormat>("format");
    const auto with = [](auto set) {
        QTextCharFormat f = baseFormat();
        set(f);
        return f;
    };
    QTest::newRow("plain") << baseFormat();
    QTest::newRow("other family") << baseFormat(QStringLiteral("Times New Roman"));
    QTest::newRow("size 9") << baseFormat(QStringLiteral("Arial"), 9);
    QTest::newRow("size 10.5") << baseFormat(QStringLiteral("Arial"), 10.5);
    QTest::newRow("size 72") << baseFormat(QStringLiteral("Arial"), 72);
    QTest::newRow("bold") << with([](QTextCharFormat &f) { f.setFontWeight(QFont::Bold); });
    QTest::newRow("italic") << with([](QTextCharFormat &f) { f.setFontItalic(true); });
    QTest::newRow("underline") << with([](QTextCharFormat &f) { f.setFontUnderline(true); });
    QTest::newRow("dotted underline") << with([](QTextCharFormat &f) { f.setUnderlineStyle(QTextCharFormat::DotLine); });
    QTest::newRow("dashed underline") << with([](QTextCharFormat &f) { f.setUnderlineStyle(QTextCharFormat::DashUnderline); });
    QTest::newRow("wave underline") << with([](QTextCharFormat &f) { f.setUnderlineStyle(QTextCharFormat::WaveUnderline); });
    QTest::newRow("strikeout") << with([](QTextCharFormat &f) { f.setFontStrikeOut(true); });
    QTest::newRow("colour") << with([](QTextCharFormat &f) { f.setForeground(QColor(0x12, 0x34, 0x56)); });
    QTest::newRow("black") << with([](QTextCharFormat &f) { f.setForeground(QColor(Qt::black)); });
    QTest::newRow("background") << with([](QTextCharFormat &f) { f.setBackground(QColor(Qt::yellow)); });
    QTest::newRow("underline colour") << with([](QTextCharFormat &f) {
        f.setFontUnderline(true);
        f.setUnderlineColor(QColor(Qt::red));
    });
    QTest::newRow("superscript") << with([](QTextCharFormat &f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); });
    QTest::newRow("subscript") << with([](QTextCharFormat &f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); });
    QTest::newRow("small caps") << with([](QTextCharFormat &f) { f.setFontCapitalization(QFont::SmallCaps); });
    QTest::newRow("everything") << with([](QTextCharFormat &f) {
        f.setFontFamilies({QStringLiteral("Courier New")});
        f.setFontPointSize(20);
        f.setFontWeight(QFont::Bold);
        f.setFontItalic(true);
        f.setFontUnderline(true);
        f.setFontStrikeOut(true);
        f.setForeground(QColor(200, 10, 30));
    });
}

void RtfTest::roundTrip_keepsCharacterFormat()
{
    QFETCH(QTextCharFormat, format);
    QTextDocument doc;
    QTextCursor c(&doc);
    c.setBlockCharFormat(baseFormat());
    c.insertText(QStringLiteral("before "), baseFormat());
    c.insertText(QStringLiteral("formatted"), format);
    c.insertText(QStringLiteral(" after"), baseFormat());

    const QByteArray data = formats::rtf::write(doc);
    formats::Result r;
    const auto back = readDoc(data, &r);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(describe(*back), describe(doc));
}

void RtfTest::roundTrip_keepsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QStringLiteral("Business plan for Joe's Shop");
    QTest::newRow("rtf specials") << QStringLiteral("a\\b {c} d\\{e\\}");
    QTest::newRow("tab") << QStringLiteral("Name:\tJoe\t");
    QTest::newRow("leading and double spaces") << QStringLiteral("  two  spaces ");
    QTest::newRow("digits after specials") << QStringLiteral("\\123 {4}");
    QTest::newRow("latin") << QStringLiteral("Café, naïve, Übergröße, ½ and ² and 3");
    QTest::newRow("typography") << QStringLiteral("“quoted” ‘single’ – dash — em … • € ™ \u00a0nbsp");
    QTest::newRow("cyrillic greek") << QStringLiteral("Привет мир, Γειά σου");
    QTest::newRow("cjk") << QStringLiteral("事業計画書 사업 계획");
    QTest::newRow("beyond BMP") << QStringLiteral("emoji 😀 and 𝄞 music");
    QTest::newRow("line separator") << QStringLiteral("line one\u2028line two");
    QTest::newRow("paragraphs") << QStringLiteral("one\ntwo\nthree");
    QTest::newRow("empty paragraphs") << QStringLiteral("\none\n\n\ntwo\n");
    QTest::newRow("soft hyphens") << QStringLiteral("Busi\u00adness\u00ad plan");
    QTest::newRow("empty") << QString();
    QTest::newRow("only newline") << QStringLiteral("\n");
}

void RtfTest::roundTrip_keepsText()
{
    QFETCH(QString, text);
    QTextDocument doc;
    QTextCursor c(&doc);
    c.setBlockCharFormat(baseFormat());
    c.setCharFormat(baseFormat());
    c.insertText(text);

    const QByteArray data = formats::rtf::write(doc);
    for (const char byte : data)
        QVERIFY2(uchar(byte) < 0x80, "the file is ASCII");
    QCOMPARE(readText(data), text);
}

void RtfTest::roundTrip_keepsParagraphFormat_data()
{
    QTest::addColumn<QTextBlockFormat>("format");
    const auto with = [](auto set) {
        QTextBlockFormat f;
        set(f);
        return f;
    };
    QTest::newRow("centre") << with([](QTextBlockFormat &f) { f.setAlignment(Qt::AlignHCenter); });
    QTest::newRow("right") << with([](QTextBlockFormat &f) { f.setAlignment(Qt::AlignRight); });
    QTest::newRow("justify") << with([](QTextBlockFormat &f) { f.setAlignment(Qt::AlignJustify); });
    QTest::newRow("left indent") << with([](QTextBlockFormat &f) { f.setLeftMargin(48); });
    QTest::newRow("right indent") << with([](QTextBlockFormat &f) { f.setRightMargin(24); });
    QTest::newRow("hanging first line") << with([](QTextBlockFormat &f) {
        f.setLeftMargin(48);
        f.setTextIndent(-24);
    });
    QTest::newRow("spacing") << with([](QTextBlockFormat &f) {
        f.setTopMargin(8);
        f.setBottomMargin(12);
    });
    QTest::newRow("right to left") << with([](QTextBlockFormat &f) { f.setLayoutDirection(Qt::RightToLeft); });
    QTest::newRow("page break") << with([](QTextBlockFormat &f) { f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore); });
}

void RtfTest::roundTrip_keepsParagraphFormat()
{
    QFETCH(QTextBlockFormat, format);
    QTextDocument doc;
    QTextCursor c(&doc);
    c.setBlockCharFormat(baseFormat());
    c.insertText(QStringLiteral("first"), baseFormat());
    c.insertBlock(format, baseFormat());
    c.insertText(QStringLiteral("second"), baseFormat());
    c.insertBlock(QTextBlockFormat(), baseFormat());
    c.insertText(QStringLiteral("third"), baseFormat());

    const auto back = readDoc(formats::rtf::write(doc));
    QCOMPARE(describe(*back), describe(doc));
}

void RtfTest::roundTrip_keepsMixedRunsAndEmptyParagraphFormats()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat bold = baseFormat(QStringLiteral("Verdana"), 14);
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat red = baseFormat();
    red.setForeground(QColor(Qt::red));
    c.setBlockCharFormat(bold);
    c.insertText(QStringLiteral("Heading"), bold);
    c.insertBlock(QTextBlockFormat(), red); // an empty paragraph keeps its own format
    c.insertBlock(QTextBlockFormat(), baseFormat());
    c.insertText(QStringLiteral("plain "), baseFormat());
    c.insertText(QStringLiteral("red"), red);
    c.insertText(QStringLiteral(" bold"), bold);

    const auto back = readDoc(formats::rtf::write(doc));
    QCOMPARE(describe(*back), describe(doc));
}

void RtfTest::roundTrip_documentWithoutFormatsUsesDefaultFont()
{
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Arial"), 12));
    doc.setPlainText(QStringLiteral("plain"));

    const auto back = readDoc(formats::rtf::write(doc));
    QCOMPARE(text(*back), QStringLiteral("plain"));
    const QTextCharFormat f = back->begin().begin().fragment().charFormat();
    QCOMPARE(f.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
    QCOMPARE(f.fontPointSize(), 12.0);
}

// Our own files stay within the reader's limits, however colourful the document.
void RtfTest::roundTrip_manyColoursReadBack()
{
    constexpr int Colours = 20000;
    QTextDocument doc;
    QTextCursor c(&doc);
    c.beginEditBlock(); // no layout of the growing line after every insertion
    c.setBlockCharFormat(baseFormat());
    for (int i = 0; i < Colours; ++i) {
        QTextCharFormat f = baseFormat();
        f.setForeground(QColor::fromRgb(QRgb(i * 37)));
        c.insertText(QStringLiteral("x"), f);
    }
    c.endEditBlock();
    const QByteArray data = formats::rtf::write(doc);
    QCOMPARE(data.count("\\red"), Colours);
    formats::Result r;
    const auto back = readDoc(data, &r);
    QVERIFY2(r.ok, qPrintable(r.error));
    QTextFragment last;
    for (auto it = back->lastBlock().begin(); !it.atEnd(); ++it)
        last = it.fragment();
    QCOMPARE(last.charFormat().foreground().color(), QColor::fromRgb(QRgb((Colours - 1) * 37)));
}

void RtfTest::write_headerDeclaresCodePageFontsAndColours()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat green = baseFormat(QStringLiteral("Times New Roman"));
    green.setForeground(QColor(0, 128, 0));
    c.setBlockCharFormat(baseFormat());
    c.insertText(QStringLiteral("a"), baseFormat());
    c.insertText(QStringLiteral("b"), green);
    c.insertText(QStringLiteral("c"), baseFormat());

    const QByteArray data = formats::rtf::write(doc);
    QVERIFY2(data.startsWith("{\\rtf1\\ansi\\ansicpg1252"), data.constData());
    QVERIFY(data.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset0 Times New Roman;}}"));
    QVERIFY(data.contains("{\\colortbl;\\red0\\green128\\blue0;}"));
    QVERIFY(data.contains("{\\plain\\f1\\fs24\\cf1 b}"));
    QVERIFY(data.trimmed().endsWith('}'));
}

void RtfTest::write_nonAsciiAsUnicodeWithAsciiFallback_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("accented letter") << QStringLiteral("é") << QByteArray("\\u233 e");
    QTest::newRow("euro") << QStringLiteral("€") << QByteArray("\\u8364 ?");
    QTest::newRow("upper half is negative") << QStringLiteral("\uff21") << QByteArray("\\u-223 ?");
    QTest::newRow("quote") << QStringLiteral("’") << QByteArray("\\u8217 '");
    QTest::newRow("superscript two") << QStringLiteral("²") << QByteArray("\\u178 ?");
    QTest::newRow("no-break space") << QStringLiteral("\u00a0") << QByteArray("\\u160 ?");
    QTest::newRow("surrogate pair") << QStringLiteral("😀") << QByteArray("\\u-10179 ?\\u-8704 ?");
    QTest::newRow("specials") << QStringLiteral("\\{}") << QByteArray("\\\\\\{\\}");
    QTest::newRow("tab") << QStringLiteral("\t") << QByteArray("\\tab ");
    QTest::newRow("run of spaces") << QStringLiteral("a   b") << QByteArray("a {} {} b");
    QTest::newRow("line break") << QStringLiteral("\u2028") << QByteArray("\\line ");
    QTest::newRow("soft hyphen") << QStringLiteral("\u00ad") << QByteArray("\\-");
}

void RtfTest::write_nonAsciiAsUnicodeWithAsciiFallback()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(text, baseFormat());
    const QByteArray data = formats::rtf::write(doc);
    QVERIFY2(data.contains("\\fs24 " + expected + "}"), data.constData());
}

// The editor's own "arial" and the font dialog's "Arial" are one font in the table.
void RtfTest::write_fontNamesWithoutRegardToCase()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("a"), baseFormat(QStringLiteral("arial")));
    c.insertText(QStringLiteral("b"), baseFormat(QStringLiteral("Arial")));
    c.insertText(QStringLiteral("c"), baseFormat(QStringLiteral("ARIAL"), 20));
    const QByteArray data = formats::rtf::write(doc);
    QCOMPARE(data.toLower().count("arial;"), 1);
    QVERIFY2(data.contains(" arial;}"), data.constData());
    const auto back = readDoc(data);
    QCOMPARE(text(*back), QStringLiteral("abc"));
}

void RtfTest::write_oneParPerLineEnd_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pars");
    QTest::newRow("one line") << QStringLiteral("a") << 0;
    QTest::newRow("empty document") << QString() << 0;
    QTest::newRow("lines and an empty one") << QStringLiteral("a\nb\n\nc") << 3;
    QTest::newRow("ends with a line end") << QStringLiteral("a\n") << 1;
    QTest::newRow("composed plan's end") << QStringLiteral("x\nanswer\n\n") << 3;
}

// A paragraph mark is a line end both ways: the writer writes one \par for each line end,
// none after the last line, and the reader turns each back into a line end.
void RtfTest::write_oneParPerLineEnd()
{
    QFETCH(QString, text);
    QFETCH(int, pars);
    QTextDocument doc;
    doc.setPlainText(text);
    const QByteArray data = formats::rtf::write(doc);
    QCOMPARE(data.count("\\par\r\n"), pars);
    QCOMPARE(data.count("\\pard"), pars + 1);
    QVERIFY(!data.contains("\\par\r\n}"));
    QCOMPARE(readText(data), text);
}

void RtfTest::read_basics_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one paragraph") << QByteArray("{\\rtf1\\ansi Hello}") << QStringLiteral("Hello");
    QTest::newRow("closing par is a line end") << QByteArray("{\\rtf1 a\\par b\\par}") << QStringLiteral("a\nb\n");
    QTest::newRow("par without closing par") << QByteArray("{\\rtf1 a\\par b}") << QStringLiteral("a\nb");
    QTest::newRow("empty paragraphs") << QByteArray("{\\rtf1 a\\par\\par\\par b\\par\\par}")
                                      << QStringLiteral("a\n\n\nb\n\n");
    QTest::newRow("delimiting space") << QByteArray("{\\rtf1 \\b bold\\b0  plain}") << QStringLiteral("bold plain");
    QTest::newRow("line ends are not text") << QByteArray("{\\rtf1 one\r\ntwo\nthree\r}") << QStringLiteral("onetwothree");
    QTest::newRow("backslash line end is par") << QByteArray("{\\rtf1 a\\\nb}") << QStringLiteral("a\nb");
    QTest::newRow("tab word and character") << QByteArray("{\\rtf1 a\\tab b\tc}") << QStringLiteral("a\tb\tc");
    QTest::newRow("line") << QByteArray("{\\rtf1 a\\line b}") << QStringLiteral("a\u2028b");
    QTest::newRow("escapes") << QByteArray("{\\rtf1 \\\\ \\{ \\}}") << QStringLiteral("\\ { }");
    QTest::newRow("hex in 1252") << QByteArray("{\\rtf1\\ansi caf\\'e9 \\'80 \\'93x\\'94}")
                                 << QStringLiteral("café € “x”");
    QTest::newRow("raw 8-bit byte") << QByteArray("{\\rtf1\\ansi caf\xe9}") << QStringLiteral("café");
    QTest::newRow("unicode with fallback") << QByteArray("{\\rtf1 \\u233?t\\u233 e}") << QStringLiteral("été");
    QTest::newRow("negative unicode") << QByteArray("{\\rtf1 \\u-3937?}") << QStringLiteral("\uf09f");
    QTest::newRow("groups restore") << QByteArray("{\\rtf1 a{\\b b{\\i c}d}e}") << QStringLiteral("abcde");
    QTest::newRow("font table is not text")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}\\f1 x}")
        << QStringLiteral("x");
    QTest::newRow("colour table is not text")
        << QByteArray("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\cf1 x}") << QStringLiteral("x");
    QTest::newRow("text after the document's end ignored") << QByteArray("{\\rtf1 a}b") << QStringLiteral("a");
    QTest::newRow("empty document") << QByteArray("{\\rtf1}") << QString();
}

void RtfTest::read_basics()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(readText(rtf), expected);
}

void RtfTest::read_formats_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("expected");
    const QByteArray head = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f3\\froman Times New Roman;}}"
                            "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";
    const QString arial = QStringLiteral("{align1 | Arial 12}");
    QTest::newRow("default font and size") << head + "x}" << QStringList{arial + "[Arial 12]x"};
    QTest::newRow("font by number, not position")
        << head + "\\f3 x}" << QStringList{QStringLiteral("{align1 | Times New Roman 12}[Times New Roman 12]x")};
    QTest::newRow("unknown font number") << head + "\\f7 x}" << QStringList{QStringLiteral("{align1 |  12}[ 12]x")};
    QTest::newRow("size in half points") << head + "\\fs21 x\\par}"
                                         << QStringList{QStringLiteral("{align1 | Arial 10.5}[Arial 10.5]x"),
                                                        QStringLiteral("{align1 | Arial 10.5}")};
    QTest::newRow("bold and off") << head + "{\\b x}\\b y\\b0 z}"
                                  << QStringList{arial + "[Arial 12 bold]xy[Arial 12]z"};
    QTest::newRow("italic underline strike")
        << head + "\\i a\\i0\\ul b\\ulnone\\strike c\\strike0 d}"
        << QStringList{arial + "[Arial 12 italic]a[Arial 12 underline1]b[Arial 12 strike]c[Arial 12]d"};
    QTest::newRow("colour by index") << head + "\\cf1 r\\cf2 b\\cf0 a\\cf9 n}"
                                     << QStringList{arial + "[Arial 12 fg#ff0000]r[Arial 12 fg#0000ff]b[Arial 12]an"};
    QTest::newRow("plain resets") << head + "\\f3\\fs40\\b\\cf1 x\\plain y}"
                                  << QStringList{arial + "[Times New Roman 20 bold fg#ff0000]x[Arial 12]y"};
}

void RtfTest::read_formats()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, expected);
    formats::Result r;
    const auto doc = readDoc(rtf, &r);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(describe(*doc), expected);
}

void RtfTest::read_notRtf_refusedAndDocumentKept()
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("kept"));
    const formats::Result r = formats::rtf::read("plain text, not rtf", doc);
    QVERIFY(!r.ok);
    QCOMPARE(r.error, QStringLiteral("The file is not an RTF document."));
    QCOMPARE(doc.toPlainText(), QStringLiteral("kept"));
}

namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The tool on a path; a tool that blocks is killed after 30 s and reported as exit -1.
ToolRun runRtfToTextOn(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral(QUORVANE_RTF_TO_TEXT), {path});
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

ToolRun runRtfToText(const QByteArray &data)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("in.rtf"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
        return {};
    f.close();
    return runRtfToTextOn(path);
}

} // namespace

void RtfTest::rtfToText_printsOneLinePerParagraphInUtf8()
{
    const ToolRun run = runRtfToText("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Arial;}}\\f0 "
                                     "\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 \\u8364?\\par\\par "
                                     "a\\tab b\\line c\\par}");
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QString::fromUtf8(run.out), QStringLiteral("Привет €\n\na\tb\nc\n"));
    QVERIFY(run.err.isEmpty());
}

// Any file prints as Open shows it: what does not start like RTF is text.
void RtfTest::rtfToText_printsWhatOpenShows_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");
    QTest::newRow("rtf ending with par") << QByteArray("{\\rtf1 a\\par b\\par}") << QStringLiteral("a\nb\n");
    QTest::newRow("rtf without closing par") << QByteArray("{\\rtf1 a\\par b}") << QStringLiteral("a\nb");
    QTest::newRow("plain text") << QByteArray("not rtf") << QStringLiteral("not rtf");
    QTest::newRow("text with CR LF") << QByteArray("one\r\ntwo\r\n") << QStringLiteral("one\ntwo\n");
    QTest::newRow("Windows-1252 text") << QByteArray("caf\xe9 \x80") << QStringLiteral("café €");
    QTest::newRow("rtf word, not at the start") << QByteArray("x{\\rtf1 a}") << QStringLiteral("x{\\rtf1 a}");
    QTest::newRow("empty file") << QByteArray() << QString();
}

void RtfTest::rtfToText_printsWhatOpenShows()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    const ToolRun run = runRtfToText(file);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QString::fromUtf8(run.out), expected);
    QVERIFY(run.err.isEmpty());
}

void RtfTest::rtfToText_refusedFileFailsWithItsReason()
{
    const ToolRun run = runRtfToText("{\\rtf1 " + QByteArray(formats::rtf::MaxGroupDepth + 1, '{') + "}");
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains("levels deep"), run.err.constData());
}

// Only regular files are read: a FIFO without a writer or a link to an endless device is
// refused at once with a message naming the file, never read or waited on.
void RtfTest::rtfToText_nonRegularFile_refusedWithoutBlocking_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("reason");
    const QByteArray notRegular = "It is not a regular file (it is a pipe, a device or a socket), so it cannot be opened.";
    QTest::newRow("fifo") << "fifo" << notRegular;
    QTest::newRow("link to /dev/zero") << "zero" << notRegular;
    QTest::newRow("link to /dev/urandom") << "urandom" << notRegular;
    QTest::newRow("folder") << "folder" << QByteArray("It is a folder, not a file.");
}

void RtfTest::rtfToText_nonRegularFile_refusedWithoutBlocking()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, reason);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("in.rtf"));
    if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == QLatin1String("folder"))
        path = dir.path();
    else
        QVERIFY(QFile::link(QStringLiteral("/dev/") + kind, path));
    const ToolRun run = runRtfToTextOn(path);
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.isEmpty());
    QCOMPARE(run.err, "quorvane-rtf-to-text: " + QFile::encodeName(path) + ": " + reason + "\n");
}

QTEST_MAIN(RtfTest)
#include "test_rtf.moc"
