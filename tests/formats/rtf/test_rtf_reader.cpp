// The reader on what other writers emit, each feature on a tiny hand-written file, and on
// damaged or hostile files, which must open or be refused with a message, never crash.

#include "RtfTestUtil.h"

#include <QRandomGenerator>
#include <QTest>

using namespace rtftest;

namespace {

QByteArray doc(const QByteArray &body, const QByteArray &header = "\\ansi\\deff0")
{
    return "{\\rtf1" + header + " " + body + "}";
}

const QByteArray fontTable = "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil\\fcharset2 Symbol;}"
                             "{\\f2\\fnil\\fcharset204 Arial Cyr;}{\\f3\\fnil\\fcharset161 Arial Greek;}"
                             "{\\f4\\fnil\\fcharset128 MS Mincho;}{\\f5\\fnil\\fcharset134 SimSun;}"
                             "{\\f6\\fnil Plain;}{\\f7\\fnil\\cpg1250 Central;}{\\f8\\fnil\\fcharset2 Wingdings;}}";

} // namespace

class RtfReaderTest : public QObject {
    Q_OBJECT
private slots:
    void unicode_data();
    void unicode();
    void codePages_data();
    void codePages();
    void tables_data();
    void tables();
    void lists_data();
    void lists();
    void fields_data();
    void fields();
    void specialCharacters_data();
    void specialCharacters();
    void skippedDestinations_data();
    void skippedDestinations();
    void paragraphProperties_data();
    void paragraphProperties();
    void characterProperties_data();
    void characterProperties();
    void writerStyles_data();
    void writerStyles();
    void fontTableEntries_data();
    void fontTableEntries();

    void malformed_opensOrIsRefused_data();
    void malformed_opensOrIsRefused();
    void overLimits_refusedWithMessageAndDocumentKept_data();
    void overLimits_refusedWithMessageAndDocumentKept();
    void atLimits_read_data();
    void atLimits_read();
    void everyPrefixOfARealFile_reads();
    void randomAndMutatedBytes_neverCrash();
};

void RtfReaderTest::unicode_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("fallback byte skipped") << doc("\\u233?x") << QStringLiteral("éx");
    QTest::newRow("hex fallback skipped") << doc("\\u233\\'e9x") << QStringLiteral("éx");
    QTest::newRow("negative is 65536 plus") << doc("\\u-4064?") << QStringLiteral("\uf020");
    QTest::newRow("uc2 skips two") << doc("\\uc2\\u8364\\'80\\'80x") << QStringLiteral("€x");
    QTest::newRow("uc0 skips nothing") << doc("\\uc0\\u8364 x") << QStringLiteral("€x");
    QTest::newRow("uc belongs to its group") << doc("{\\uc2\\u233 xx}\\u233 yz") << QStringLiteral("ééz");
    QTest::newRow("control word counts as one") << doc("\\uc2\\u8364\\endash Y Z") << QStringLiteral("€ Z");
    QTest::newRow("control symbol counts as one") << doc("\\u8364\\~x") << QStringLiteral("€x");
    QTest::newRow("group end stops skipping") << doc("{\\uc3\\u8364 a}bc") << QStringLiteral("€bc");
    QTest::newRow("line ends do not count") << doc("\\u8364\r\n?x") << QStringLiteral("€x");
    QTest::newRow("surrogate pair") << doc("\\u-10179?\\u-8704?") << QStringLiteral("😀");
    QTest::newRow("lone high surrogate") << doc("\\u-10179?x") << QStringLiteral("\ufffdx");
    QTest::newRow("lone low surrogate") << doc("\\u-8704?x") << QStringLiteral("\ufffdx");
    QTest::newRow("high then other character") << doc("\\u-10179?\\u233?") << QStringLiteral("\ufffdé");
    QTest::newRow("two highs") << doc("\\u-10179?\\u-10179?\\u-8704?") << QStringLiteral("\ufffd😀");
    QTest::newRow("high at the end") << doc("a\\u-10179?") << QStringLiteral("a\ufffd");
    QTest::newRow("huge value") << doc("\\u99999999999?x") << QStringLiteral("\ufffdx");
    QTest::newRow("huge negative value") << doc("\\u-99999999999?x") << QStringLiteral("\ufffdx");
    QTest::newRow("code point beyond 16 bits") << doc("\\u128512?") << QStringLiteral("😀");
    QTest::newRow("without number") << doc("\\u x") << QStringLiteral("x");
    QTest::newRow("nul not shown") << doc("a\\u0?b") << QStringLiteral("ab");
}

void RtfReaderTest::unicode()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(readText(rtf), expected);
}

void RtfReaderTest::codePages_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ansi 1252") << doc("\\'e9\\'80\\'9c") << QStringLiteral("é€œ");
    QTest::newRow("ansicpg 1250") << doc("\\'9a\\'e8", "\\ansi\\ansicpg1250") << QStringLiteral("šč");
    QTest::newRow("ansicpg 1251") << doc("\\'cf\\'f0\\'e8", "\\ansi\\ansicpg1251") << QStringLiteral("При");
    QTest::newRow("ansicpg 1253") << doc("\\'e1\\'e2", "\\ansi\\ansicpg1253") << QStringLiteral("αβ");
    QTest::newRow("ansicpg 1254") << doc("\\'fe\\'f0", "\\ansi\\ansicpg1254") << QStringLiteral("şğ");
    QTest::newRow("ansicpg 1255") << doc("\\'f9\\'ec", "\\ansi\\ansicpg1255") << QStringLiteral("של");
    QTest::newRow("ansicpg 1256") << doc("\\'c7\\'e1", "\\ansi\\ansicpg1256") << QStringLiteral("ال");
    QTest::newRow("ansicpg 1257") << doc("\\'e0\\'e8", "\\ansi\\ansicpg1257") << QStringLiteral("ąč");
    QTest::newRow("ansicpg 1258") << doc("\\'d2", "\\ansi\\ansicpg1258") << QStringLiteral("\u0309");
    QTest::newRow("ansicpg 874") << doc("\\'a1\\'d2", "\\ansi\\ansicpg874") << QStringLiteral("กา");
    QTest::newRow("ansicpg 932 pair") << doc("\\'82\\'a0\\'82\\'a2", "\\ansi\\ansicpg932") << QStringLiteral("あい");
    QTest::newRow("ansicpg 932 single katakana") << doc("\\'b1x", "\\ansi\\ansicpg932") << QStringLiteral("ｱx");
    QTest::newRow("ansicpg 932 trail as text") << doc("\\'83A\\'95\\\\", "\\ansi\\ansicpg932") << QStringLiteral("ア表");
    QTest::newRow("ansicpg 936") << doc("\\'c4\\'e3\\'ba\\'c3", "\\ansi\\ansicpg936") << QStringLiteral("你好");
    QTest::newRow("ansicpg 949") << doc("\\'c7\\'d1", "\\ansi\\ansicpg949") << QStringLiteral("한");
    QTest::newRow("ansicpg 950") << doc("\\'a4\\'a4", "\\ansi\\ansicpg950") << QStringLiteral("中");
    QTest::newRow("ansicpg 65001") << doc("\\'e2\\'82\\'ac", "\\ansi\\ansicpg65001") << QStringLiteral("€");
    QTest::newRow("mac roman") << doc("\\'8e\\'a5", "\\mac") << QStringLiteral("é•");
    QTest::newRow("pc 437") << doc("\\'82\\'b0", "\\pc") << QStringLiteral("é░");
    QTest::newRow("unknown code page as 1252") << doc("\\'e9", "\\ansi\\ansicpg4242") << QStringLiteral("é");
    QTest::newRow("EBCDIC code page as 1252") << doc("\\'e9", "\\ansi\\ansicpg500") << QStringLiteral("é");
    QTest::newRow("fcharset 204") << doc(fontTable + "\\f2\\'cf\\'f0\\'e8") << QStringLiteral("При");
    QTest::newRow("fcharset 161") << doc(fontTable + "\\f3\\'e1\\'e2") << QStringLiteral("αβ");
    QTest::newRow("fcharset 128") << doc(fontTable + "\\f4\\'82\\'a0") << QStringLiteral("あ");
    QTest::newRow("fcharset 134") << doc(fontTable + "\\f5\\'c4\\'e3") << QStringLiteral("你");
    QTest::newRow("cpg of the font") << doc(fontTable + "\\f7\\'9a") << QStringLiteral("š");
    QTest::newRow("charset 0 is 1252 under another ansicpg")
        << doc(fontTable + "\\f0\\'e9", "\\ansi\\ansicpg1251") << QStringLiteral("é");
    QTest::newRow("font without charset uses ansicpg")
        << doc(fontTable + "\\f6\\'e0", "\\ansi\\ansicpg1251") << QStringLiteral("а");
    QTest::newRow("font switch mid text") << doc(fontTable + "\\f2\\'e0{\\f3\\'e1}\\'e0\\f0\\'e0")
                                          << QStringLiteral("аαаà");
    QTest::newRow("lead byte before a space") << doc("\\'82 x", "\\ansi\\ansicpg932") << QStringLiteral("\ufffd x");
    QTest::newRow("lead byte at a group end") << doc("{\\'82}x", "\\ansi\\ansicpg932") << QStringLiteral("\ufffdx");
    QTest::newRow("lead byte before unicode") << doc("\\'82\\u12354?", "\\ansi\\ansicpg932") << QStringLiteral("\ufffdあ");
    QTest::newRow("invalid pair keeps the trail") << doc("\\'81\\'20x", "\\ansi\\ansicpg932") << QStringLiteral("\ufffd x");
    QTest::newRow("broken utf-8") << doc("\\'e2\\'82x\\'ff", "\\ansi\\ansicpg65001") << QStringLiteral("\ufffdx\ufffd");
    QTest::newRow("font name in its charset")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204 \\'c0\\'f0\\'e8\\'e0\\'eb;}}\\f0 x}")
        << QStringLiteral("x");
}

void RtfReaderTest::codePages()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(readText(rtf), expected);
}

void RtfReaderTest::tables_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    // Tables read as tables, a row a line here; one at the start of a file has the
    // document's first, empty paragraph before it.
    const QByteArray row = "\\trowd\\cellx1000\\cellx2000\\cellx3000 ";
    QTest::newRow("cells and rows") << doc("before\\par " + row + "\\intbl A\\cell B\\cell C\\cell\\row " + row
                                           + "\\intbl D\\cell E\\cell F\\cell\\row\\pard after\\par")
                                    << QStringLiteral("before\nA\tB\tC\nD\tE\tF\nafter\n");
    QTest::newRow("empty cells") << doc(row + "\\intbl\\cell B\\cell\\cell\\row\\pard x")
                                 << QStringLiteral("\n\tB\t\nx");
    QTest::newRow("par ending each cell") << doc(row + "{\\pard\\intbl A\\par}\\cell{\\pard\\intbl B\\par}\\cell"
                                                       "{\\pard\\intbl C\\par}\\cell\\row\\pard x")
                                          << QStringLiteral("\nA\tB\tC\nx");
    QTest::newRow("paragraphs inside a cell") << doc(row + "\\intbl A\\par A2\\cell B\\cell\\row\\pard x")
                                              << QStringLiteral("\nA\nA2\tB\nx");
    QTest::newRow("cell words in groups") << doc(row + "\\intbl A{\\cell }B{\\cell }\\pard\\intbl{\\row }\\pard x")
                                          << QStringLiteral("\nA\tB\nx");
    QTest::newRow("nested table stays in its cell")
        << doc(row + "\\intbl A\\cell \\itap2 x\\nestcell y\\nestcell{\\*\\nesttableprops\\nestrow}\\itap1 \\cell C\\cell\\row\\pard z")
        << QStringLiteral("\nA\tx\ty\tC\nz");
    QTest::newRow("missing row") << doc("a\\par " + row + "\\intbl A\\cell B\\cell\\pard after\\par")
                                 << QStringLiteral("a\nA\tB\nafter\n");
    QTest::newRow("cell outside a row") << doc("a\\par b\\cell c\\par") << QStringLiteral("a\nb\nc\n");
    QTest::newRow("row outside a table") << doc("a\\row b") << QStringLiteral("a\nb");
    QTest::newRow("ragged rows") << doc("a\\par " + row + "\\intbl A\\cell\\row\\intbl B\\cell C\\cell D\\cell\\row x")
                                 << QStringLiteral("a\nA\t\t\nB\tC\tD\nx");
    QTest::newRow("text after the last cell") << doc("a\\par\\intbl A\\cell B\\row x")
                                              << QStringLiteral("a\nA\tB\nx");
    QByteArray wide = "a\\par\\intbl ";
    QStringList cells;
    for (int i = 0; i < formats::rtf::MaxTableColumns + 2; ++i) {
        wide += QByteArray::number(i) + "\\cell ";
        cells << QString::number(i);
    }
    const QString last = cells.mid(formats::rtf::MaxTableColumns - 1).join(QLatin1Char('\n'));
    QTest::newRow("cells past the last column join it")
        << doc(wide + "\\row x") << QStringLiteral("a\n") + cells.mid(0, formats::rtf::MaxTableColumns - 1).join(QLatin1Char('\t'))
                                       + QLatin1Char('\t') + last + QStringLiteral("\nx");
}

void RtfReaderTest::tables()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(readText(rtf), expected);
}

void RtfReaderTest::lists_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("listtext bullet in Symbol")
        << doc(fontTable + "{\\listtext\\pard\\plain\\f1 \\'b7\\tab}First\\par{\\listtext\\pard\\plain\\f1 \\'b7\\tab}Second\\par")
        << QStringLiteral("•\tFirst\n•\tSecond\n");
    QTest::newRow("listtext number") << doc("{\\listtext 1.\\tab}One\\par{\\listtext 2.\\tab}Two\\par")
                                     << QStringLiteral("1.\tOne\n2.\tTwo\n");
    QTest::newRow("pntext with pn skipped")
        << doc(fontTable + "{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}Item\\par")
        << QStringLiteral("•\tItem\n");
    QTest::newRow("bullet from unicode") << doc("{\\listtext\\u-3913\\'b7\\tab}Item") << QStringLiteral("•\tItem");
    QTest::newRow("listtext keeps the paragraph format")
        << doc("\\pard\\li720 {\\listtext\\pard\\plain a)\\tab}x\\par") << QStringLiteral("a)\tx\n");
}

void RtfReaderTest::lists()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(readText(rtf), expected);
}

void RtfReaderTest::fields_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("hyperlink") << doc("see {\\field{\\*\\fldinst{HYPERLINK \"http://example.com/\"}}{\\fldrslt{\\ul link}}} now")
                               << QStringLiteral("see link now");
    QTest::newRow("unstarred instruction") << doc("{\\field{\\fldinst PAGE}{\\fldrslt 3}}") << QStringLiteral("3");
    QTest::newRow("field without result") << doc("a{\\field{\\*\\fldinst NUMPAGES}}b") << QStringLiteral("ab");
    QTest::newRow("nested field in result")
        << doc("{\\field{\\*\\fldinst X}{\\fldrslt a{\\field{\\*\\fldinst Y}{\\fldrslt b}}c}}") << QStringLiteral("abc");
    QTest::newRow("footnote number, footnote skipped")
        << doc("x{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} note}y") << QStringLiteral("x1y");
}

void RtfReaderTest::fields()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(readText(rtf), expected);
}

void RtfReaderTest::specialCharacters_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("dashes") << doc("a\\emdash b\\endash c") << QStringLiteral("a—b–c");
    QTest::newRow("quotes") << doc("\\lquote a\\rquote \\ldblquote b\\rdblquote") << QStringLiteral("‘a’“b”");
    QTest::newRow("bullet") << doc("\\bullet x") << QStringLiteral("•x");
    QTest::newRow("no-break space") << doc("a\\~b") << QStringLiteral("a\u00a0b");
    QTest::newRow("no-break hyphen") << doc("a\\_b") << QStringLiteral("a\u2011b");
    QTest::newRow("optional hyphen kept") << doc("hy\\-phen") << QStringLiteral("hy\u00adphen");
    QTest::newRow("soft hyphen byte kept") << doc("hy\\'adphen") << QStringLiteral("hy\u00adphen");
    QTest::newRow("spaces") << doc("a\\enspace b\\emspace c\\qmspace d") << QStringLiteral("a\u2002b\u2003c\u2005d");
    QTest::newRow("joiners and marks") << doc("a\\zwj b\\zwnj c\\ltrmark d\\rtlmark e")
                                       << QStringLiteral("a\u200db\u200cc\u200ed\u200fe");
    QTest::newRow("page is a paragraph break") << doc("a\\page b") << QStringLiteral("a\nb");
    QTest::newRow("section is a paragraph break") << doc("a\\sect b") << QStringLiteral("a\nb");
    QTest::newRow("Symbol font bullet") << doc(fontTable + "\\f1\\'b7") << QStringLiteral("•");
    QTest::newRow("Symbol font private use") << doc("\\u-3913?") << QStringLiteral("•");
    QTest::newRow("Wingdings keeps its private use") << doc(fontTable + "\\f8\\'a7") << QStringLiteral("\uf0a7");
    QTest::newRow("other control symbols show nothing") << doc("a\\|\\:b") << QStringLiteral("ab");
}

void RtfReaderTest::specialCharacters()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(readText(rtf), expected);
}

void RtfReaderTest::skippedDestinations_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    for (const char *name :
         {"stylesheet", "info", "object", "header", "headerl", "headerr", "headerf", "footer", "footerl",
          "footerr", "footerf", "footnote", "annotation", "xmlnstbl", "listtable", "listoverridetable",
          "themedata", "colorschememapping", "datastore", "generator", "latentstyles", "revtbl", "rsidtbl",
          "fldinst", "shp", "nonshppict", "comment", "author", "title", "bkmkstart", "pgdsctbl", "template"}) {
        QTest::newRow(name) << doc(QByteArray("a{\\") + name + " secret {\\b more} text}b") << QStringLiteral("ab");
        QTest::newRow((QByteArray("starred ") + name).constData())
            << doc(QByteArray("a{\\*\\") + name + " secret}b") << QStringLiteral("ab");
    }
    QTest::newRow("unknown starred") << doc("a{\\*\\unknownthing secret{\\x y}}b") << QStringLiteral("ab");
    QTest::newRow("unknown unstarred shows its text") << doc("a{\\unknownthing shown}b") << QStringLiteral("ashownb");
    // A picture is read (here a broken one, shown as a placeholder); its binary data does not end its group.
    QTest::newRow("pict hex and binary with braces")
        << doc("a{\\pict\\pngblip 89504e47{\\*\\blipuid 00}\\bin4 }{{}}b") << QStringLiteral("a\uFFFCb");
    QTest::newRow("binary data in the body") << doc("a\\bin4 {}\\bc") << QStringLiteral("ac");
    QTest::newRow("upr shows only ud") << doc("{\\upr{ansi text}{\\*\\ud{unicode \\u233?}}}") << QStringLiteral("unicode é");
    QTest::newRow("hidden text") << doc("a{\\v hidden}b\\v c\\v0 d") << QStringLiteral("abd");
}

void RtfReaderTest::skippedDestinations()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(readText(rtf), expected);
}

void RtfReaderTest::paragraphProperties_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("alignments") << doc("\\qc a\\par\\qr b\\par\\qj c\\par\\ql d\\par")
                                << QStringLiteral("align4;align2;align8;align1;align1");
    QTest::newRow("indents and spacing") << doc("\\li720\\ri360\\fi-360\\sb120\\sa240 a\\par")
                                         << QStringLiteral("align1 left48 right24 indent-24 top8 bottom16;"
                                                           "align1 left48 right24 indent-24 top8 bottom16");
    QTest::newRow("pard resets") << doc("\\qc\\li720 a\\par\\pard b\\par") << QStringLiteral("align4 left48;align1;align1");
    QTest::newRow("properties carry to the next paragraph") << doc("\\qc a\\par b\\par")
                                                            << QStringLiteral("align4;align4;align4");
    QTest::newRow("properties in a group") << doc("{\\pard\\qr a\\par}b\\par") << QStringLiteral("align2;align1;align1");
    QTest::newRow("last properties of the paragraph count") << doc("a\\qc\\par\\ql") << QStringLiteral("align4;align1");
    QTest::newRow("page break before the next paragraph") << doc("a\\page b\\par")
                                                          << QStringLiteral("align1;align1 pagebreak1;align1");
    QTest::newRow("empty last line starts no page") << doc("\\pagebb\\qc a\\par")
                                                    << QStringLiteral("align4 pagebreak1;align4");
    QTest::newRow("page at the end starts one") << doc("a\\page") << QStringLiteral("align1;align1 pagebreak1");
    QTest::newRow("huge indent clamped") << doc("\\li99999999999 a\\par") << QStringLiteral("align1 left2112;align1 left2112");
}

void RtfReaderTest::paragraphProperties()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    formats::Result r;
    const auto d = readDoc(rtf, &r);
    QVERIFY2(r.ok, qPrintable(r.error));
    QStringList formats;
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next())
        formats << describe(b.blockFormat());
    QCOMPARE(formats.join(QLatin1Char(';')), expected);
}

void RtfReaderTest::characterProperties_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    const QByteArray colors = "{\\colortbl;\\red255\\green255\\blue0;\\red0\\green255\\blue0;}";
    QTest::newRow("super and sub") << doc("{\\super 2}{\\sub 3}\\super a\\nosupersub b")
                                   << QStringLiteral("[ 12 valign1]2[ 12 valign2]3[ 12 valign1]a[ 12]b");
    QTest::newRow("raised and lowered") << doc("{\\up6 2}{\\dn4 3}{\\up 4}{\\up0 5}{\\super\\dn0 6}")
                                        << QStringLiteral("[ 12 valign1]2[ 12 valign2]3[ 12 valign1]4[ 12]5[ 12 valign1]6");
    QTest::newRow("caps as text") << doc("{\\caps Stra\\'dfe mix}x") << QStringLiteral("[ 12]STRAßE MIXx");
    QTest::newRow("small caps") << doc("{\\scaps a}") << QStringLiteral("[ 12 caps3]a");
    QTest::newRow("highlight") << doc(colors + "{\\highlight1 a}") << QStringLiteral("[ 12 bg#ffff00]a");
    QTest::newRow("cb") << doc(colors + "{\\cb2 a}") << QStringLiteral("[ 12 bg#00ff00]a");
    QTest::newRow("chcbpat") << doc(colors + "{\\chcbpat2 a}") << QStringLiteral("[ 12 bg#00ff00]a");
    QTest::newRow("highlight wins") << doc(colors + "{\\cb2\\highlight1 a}") << QStringLiteral("[ 12 bg#ffff00]a");
    QTest::newRow("automatic colour entry") << doc("{\\colortbl;\\red1\\green2\\blue3;;}\\cf2 a\\cf1 b")
                                            << QStringLiteral("[ 12]a[ 12 fg#010203]b");
    QTest::newRow("underline styles") << doc("{\\uld a}{\\uldash b}{\\ulwave c}{\\uldb d}{\\ul0 e}")
                                      << QStringLiteral("[ 12 underline3]a[ 12 underline2]b[ 12 underline6]c"
                                                        "[ 12 underline1]d[ 12]e");
    QTest::newRow("huge and zero sizes") << doc("{\\fs99999999 a}{\\fs0 b}{\\fs-5 c}")
                                         << QStringLiteral("[ 1638]a[ 12]bc");
}

void RtfReaderTest::characterProperties()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    formats::Result r;
    const auto d = readDoc(rtf, &r);
    QVERIFY2(r.ok, qPrintable(r.error));
    QString runs;
    for (auto it = d->begin().begin(); !it.atEnd(); ++it)
        runs += QStringLiteral("[%1]%2").arg(describe(it.fragment().charFormat()), it.fragment().text());
    QCOMPARE(runs, expected);
}

void RtfReaderTest::writerStyles_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("WordPad") << QByteArray(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Caf\\'e9 \\b bold\\b0\\par\r\n"
        "Second line\\par\r\n}\r\n") + QByteArray(1, '\0')
                             << QStringLiteral("Café bold\nSecond line\n");
    QTest::newRow("Word") << QByteArray(
        "{\\rtf1\\adeflang1025\\ansi\\ansicpg1252\\uc1\\adeff31507\\deff0\\stshfdbch31505\\stshfloch31506"
        "{\\fonttbl{\\f0\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}"
        "{\\f34\\fbidi \\froman\\fcharset1\\fprq2{\\*\\panose 02040503050406030204}Cambria Math;}}"
        "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}"
        "{\\*\\defchp \\fs22\\loch\\af31506}{\\stylesheet{\\ql \\li0\\ri0 Normal;}{\\*\\cs10 Default Paragraph Font;}}"
        "{\\*\\rsidtbl \\rsid1\\rsid2}{\\mmathPr\\mmathFont34\\mbrkBin0}"
        "{\\info{\\author Jane}{\\operator Jane}{\\creatim\\yr2024\\mo1\\dy2}}"
        "{\\*\\xmlnstbl {\\xmlns1 http://schemas.microsoft.com/office/word/2003/wordml}}"
        "\\paperw12240\\paperh15840\\margl1440\\margr1440 \\sectd \\linex0\\endnhere\\sectlinegrid360\\sectdefaultcl"
        "{\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang {\\pntxta .}}"
        "\\pard\\plain \\ltrpar\\ql \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar\\wrapdefault\\aspalpha\\aspnum"
        "\\faauto\\adjustright\\rin0\\lin0\\itap0 \\rtlch\\fcs1 \\af31507\\afs22\\alang1025 \\ltrch\\fcs0 "
        "\\f31506\\fs22\\lang1033\\langfe1033\\cgrid\\langnp1033\\langfenp1033 {\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 "
        "\\insrsid1 Hello }{\\rtlch\\fcs1 \\ab\\af31507 \\ltrch\\fcs0 \\b\\insrsid2 world}{\\rtlch\\fcs1 \\af31507 "
        "\\ltrch\\fcs0 \\insrsid1 \\par }{\\*\\themedata 504b030414}{\\*\\colorschememapping 3c3f786d6c}"
        "{\\*\\latentstyles\\lsdstimax376\\lsdlockeddef0{\\lsdlockedexcept \\lsdqformat1 Normal;}}"
        "{\\*\\datastore 01050000}}")
                          << QStringLiteral("Hello world\n");
}

void RtfReaderTest::writerStyles()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(readText(rtf), expected);
}

void RtfReaderTest::fontTableEntries_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("family");
    QTest::newRow("entries in groups") << QByteArray("{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Georgia;}}") << "Georgia";
    QTest::newRow("entries without groups") << QByteArray("{\\fonttbl\\f0\\fswiss Arial;\\f1\\froman Georgia;}") << "Georgia";
    QTest::newRow("panose before the name")
        << QByteArray("{\\fonttbl{\\f1\\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Georgia;}}") << "Georgia";
    QTest::newRow("alternative name skipped")
        << QByteArray("{\\fonttbl{\\f1\\fnil Georgia{\\*\\falt Times};}}") << "Georgia";
    QTest::newRow("entry without semicolon") << QByteArray("{\\fonttbl{\\f1 Georgia}}") << "Georgia";
    QTest::newRow("name in its charset")
        << QByteArray("{\\fonttbl{\\f1\\fcharset204 \\'c0\\'f0\\'e8\\'e0\\'eb;}}") << QStringLiteral("Ариал");
    QTest::newRow("double-byte name")
        << QByteArray("{\\fonttbl{\\f1\\fcharset128 \\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}}") << QStringLiteral("ＭＳ 明朝");
    QTest::newRow("later definition wins") << QByteArray("{\\fonttbl{\\f1 Arial;}{\\f1 Georgia;}}") << "Georgia";
    QTest::newRow("names without regard to case")
        << QByteArray("{\\fonttbl{\\f0 Georgia;}{\\f1 GEORGIA;}{\\f2 georgia;}}") << "Georgia";
}

void RtfReaderTest::fontTableEntries()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, family);
    formats::Result r;
    const auto d = readDoc("{\\rtf1\\ansi" + table + "\\f1 x}", &r);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(d->begin().begin().fragment().charFormat().fontFamilies().toStringList(), QStringList{family});
}

void RtfReaderTest::malformed_opensOrIsRefused_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("truncated") << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Hello wor") << QStringLiteral("Hello wor");
    QTest::newRow("truncated in a control word") << QByteArray("{\\rtf1 ab\\par c\\pa") << QStringLiteral("ab\nc");
    QTest::newRow("truncated after backslash") << QByteArray("{\\rtf1 ab\\") << QStringLiteral("ab");
    QTest::newRow("truncated in hex") << QByteArray("{\\rtf1 ab\\'e") << QStringLiteral("ab");
    QTest::newRow("truncated in font table") << QByteArray("{\\rtf1{\\fonttbl{\\f0 Ari") << QString();
    QTest::newRow("truncated in a skipped group") << QByteArray("{\\rtf1 a{\\pict 0102") << QStringLiteral("a");
    QTest::newRow("too many closing braces") << QByteArray("{\\rtf1 a}}}}b}") << QStringLiteral("a");
    QTest::newRow("closing brace too early") << QByteArray("{\\rtf1 a}{\\b b}") << QStringLiteral("a");
    QTest::newRow("too many opening braces") << QByteArray("{\\rtf1 a{{{{b") << QStringLiteral("ab");
    QTest::newRow("nul bytes") << QByteArray("{\\rtf1 a\0b\\b\0c\0}", 17) << QStringLiteral("abc");
    QTest::newRow("nul in control word") << QByteArray("{\\rtf1 \\pa\0r x}", 15) << QStringLiteral("r x");
    QTest::newRow("binary length beyond the end") << QByteArray("{\\rtf1 a\\bin2147483647 xyz}") << QStringLiteral("a");
    QTest::newRow("binary length huge") << QByteArray("{\\rtf1 a\\bin99999999999999999999 xyz}") << QStringLiteral("a");
    QTest::newRow("binary length negative") << QByteArray("{\\rtf1 a\\bin-5 xyz}") << QStringLiteral("axyz");
    QTest::newRow("huge numbers everywhere")
        << QByteArray("{\\rtf1\\ansicpg99999999999\\deff99999999999{\\fonttbl{\\f99999999999\\fcharset9999999999 X;}}"
                      "{\\colortbl;\\red99999999999;}\\f-99999999999\\cf99999999999\\uc99999999999\\fs-99999999999"
                      "\\li-99999999999 x}")
        << QStringLiteral("x");
    QTest::newRow("long control word") << QByteArray("{\\rtf1 a\\") + QByteArray(100000, 'x') + QByteArray(" b}")
                                       << QStringLiteral("ab");
    QTest::newRow("long number") << QByteArray("{\\rtf1 a\\b") + QByteArray(100000, '9') + QByteArray(" b}")
                                 << QStringLiteral("ab");
    // The document's own group and a million levels inside it (LibreOffice reads 100,000).
    QTest::newRow("deep but allowed") << QByteArray("{\\rtf1 ") + QByteArray(formats::rtf::MaxGroupDepth - 1, '{') + "x"
                                             + QByteArray(formats::rtf::MaxGroupDepth - 1, '}') + "}"
                                      << QStringLiteral("x");
    QTest::newRow("unicode skip over the end") << QByteArray("{\\rtf1\\uc5 a\\u233") << QStringLiteral("aé");
    QTest::newRow("only the header") << QByteArray("{\\rtf") << QString();
}

void RtfReaderTest::malformed_opensOrIsRefused()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(readText(rtf), expected);
}

void RtfReaderTest::overLimits_refusedWithMessageAndDocumentKept_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("message");
    const QString deep = QStringLiteral("The file nests its groups more than 1000000 levels deep, so it cannot be "
                                        "read; it is probably damaged.");
    const int over = formats::rtf::MaxGroupDepth + 1;
    QTest::newRow("nested groups") << QByteArray("{\\rtf1 ") + QByteArray(over, '{') + "x" + QByteArray(over, '}') + "}"
                                   << deep;
    QTest::newRow("unclosed groups") << QByteArray("{\\rtf1 x") + QByteArray(over, '{') << deep;
    QTest::newRow("deep inside a skipped group") << QByteArray("{\\rtf1 {\\*\\x ") + QByteArray(over, '{') + "}}"
                                                 << deep;
    QByteArray fonts = "{\\rtf1{\\fonttbl";
    for (int i = 0; i <= formats::rtf::MaxFontTableEntries; ++i)
        fonts += "{\\f" + QByteArray::number(i) + " F;}";
    QTest::newRow("font table too big")
        << fonts + "}x}"
        << QStringLiteral("The file's font table has more than 16384 entries, so it cannot be read; it is probably damaged.");
    QTest::newRow("colour table too big")
        << QByteArray("{\\rtf1{\\colortbl") + QByteArray(formats::rtf::MaxColorTableEntries + 1, ';') + "}x}"
        << QStringLiteral("The file's colour table has more than 1048576 entries, so it cannot be read; it is probably damaged.");
    QTest::newRow("too many paragraphs")
        << "{\\rtf1 " + QByteArray("\\par ").repeated(formats::MaxParagraphs) + "}" << formats::tooManyParagraphs();
    QTest::newRow("too many pages")
        << "{\\rtf1 " + QByteArray("\\page ").repeated(formats::MaxParagraphs) + "}" << formats::tooManyParagraphs();
    QTest::newRow("too many paragraphs in a table cell")
        << "{\\rtf1\\intbl " + QByteArray("a\\par ").repeated(formats::MaxParagraphs) + "\\cell\\row}"
        << formats::tooManyParagraphs();
    QTest::newRow("too many table cells")
        << "{\\rtf1\\intbl " + QByteArray("x\\cell ").repeated(formats::rtf::MaxTableColumns) + "\\row "
               + QByteArray("y\\cell\\row ").repeated(formats::MaxTableCells / formats::rtf::MaxTableColumns) + "}"
        << QStringLiteral("The file's tables have more than %1 cells, more than this program can show, so it "
                          "cannot be read.")
               .arg(formats::MaxTableCells);
    QTest::newRow("paragraph too long")
        << "{\\rtf1 " + QByteArray(formats::MaxParagraphLength + 1, 'x') + "}" << formats::paragraphTooLong();
    QTest::newRow("last paragraph too long after others")
        << "{\\rtf1 a\\par " + QByteArray(formats::MaxParagraphLength / 2, 'x') + "\\u233?"
               + QByteArray(formats::MaxParagraphLength / 2, 'y') + "}"
        << formats::paragraphTooLong();
    QByteArray runs = "{\\rtf1 ";
    for (int i = 0; i <= formats::MaxRuns / 2; ++i)
        runs += i % 64 == 63 ? "{\\b x}y\\par " : "{\\b x}y";
    QTest::newRow("too many runs") << runs + "}"
                                   << QStringLiteral("The file changes its character format more than %1 times, more "
                                                     "than this program can show, so it cannot be read.")
                                          .arg(formats::MaxRuns);
    QByteArray formats = "{\\rtf1 ";
    for (int i = 0; i <= formats::MaxCharFormats; ++i)
        formats += "{\\cf" + QByteArray::number(i % 1000) + "\\fs" + QByteArray::number(2 + i / 1000) + " x}";
    QTest::newRow("too many formats") << formats + "}"
                                      << QStringLiteral("The file uses more than %1 different character formats, "
                                                        "more than this program can show, so it cannot be read.")
                                             .arg(formats::MaxCharFormats);
    // Counted by name: entries that differ only in case, and numbers not in the table, are
    // no further font.
    QByteArray used = "{\\rtf1{\\fonttbl{\\f0 Font;}{\\f1 FONT;}";
    for (int i = 2; i <= formats::MaxFontsUsed + 1; ++i)
        used += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
    used += "}\\f99999 x";
    for (int i = 0; i <= formats::MaxFontsUsed; ++i)
        used += "{\\f" + QByteArray::number(i) + " x}";
    QTest::newRow("fonts used, all but one counted") << used + "}" << QString();
    QTest::newRow("too many fonts used") << used + "{\\f" + QByteArray::number(formats::MaxFontsUsed + 1) + " x}}"
                                         << QStringLiteral("The file uses more than %1 fonts, more than this program "
                                                           "can show, so it cannot be read.")
                                                .arg(formats::MaxFontsUsed);
}

void RtfReaderTest::overLimits_refusedWithMessageAndDocumentKept()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, message);
    QTextDocument d;
    d.setPlainText(QStringLiteral("kept"));
    const formats::Result r = formats::rtf::read(rtf, d);
    if (message.isEmpty()) {
        QVERIFY2(r.ok, qPrintable(r.error));
        return;
    }
    QVERIFY(!r.ok);
    QCOMPARE(r.error, message);
    QCOMPARE(d.toPlainText(), QStringLiteral("kept"));
}

// Each shape at its limit is read, quickly, and whole (time is measured in bench/).
void RtfReaderTest::atLimits_read_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<int>("characters");
    const int most = formats::MaxParagraphs;
    QTest::newRow("most paragraphs") << "{\\rtf1 " + QByteArray("\\par ").repeated(most - 1) + "}" << most << 0;
    QTest::newRow("most pages") << "{\\rtf1 " + QByteArray("\\page ").repeated(most - 1) + "}" << most << 0;
    QTest::newRow("longest paragraph") << "{\\rtf1 " + QByteArray(formats::MaxParagraphLength, 'x') + "}" << 1
                                       << formats::MaxParagraphLength;
    QByteArray fonts = "{\\rtf1{\\fonttbl";
    for (int i = 0; i < formats::rtf::MaxFontTableEntries; ++i)
        fonts += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
    fonts += "}";
    for (int i = 0; i < formats::MaxFontsUsed; ++i)
        fonts += "{\\f" + QByteArray::number(i * 7) + " x}";
    QTest::newRow("whole font table, most fonts used") << fonts + "}" << 1 << formats::MaxFontsUsed;
    QByteArray formats = "{\\rtf1 ";
    for (int i = 0; i < formats::MaxCharFormats; ++i)
        formats += "{\\cf" + QByteArray::number(i % 1000) + "\\fs" + QByteArray::number(2 + i / 1000) + " x}"
                   + (i % 64 == 63 ? "\\par " : "");
    QTest::newRow("most formats") << formats + "}" << 1 + formats::MaxCharFormats / 64 << formats::MaxCharFormats;
}

void RtfReaderTest::atLimits_read()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, blocks);
    QFETCH(int, characters);
    QTextDocument d;
    const formats::Result r = formats::rtf::read(rtf, d);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(d.blockCount(), blocks);
    QCOMPARE(d.characterCount() - blocks, characters);
}

// Every way a download can be cut short, on a file with most of what the reader knows.
void RtfReaderTest::everyPrefixOfARealFile_reads()
{
    const QByteArray file = "{\\rtf1\\ansi\\ansicpg1252\\deff0" + fontTable
                            + "{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}"
                              "{\\info{\\title T}}\\pard\\qc\\f0\\fs24 Caf\\'e9 {\\b\\cf1 bold}\\u8364?\\u-10179?\\u-8704?\\par"
                              "\\trowd\\cellx100\\intbl A\\cell B\\cell\\row\\pard{\\listtext\\f1\\'b7\\tab}item\\par"
                              "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}\\f4\\'82\\'a0{\\pict\\bin3 {{{}"
                              "{\\upr{a}{\\*\\ud{b}}}\\page end\\par}";
    QCOMPARE(readText(file), QStringLiteral("Café bold€😀\nA\tB\n•\titem\nlinkあ\uFFFCb\nend\n"));
    for (int n = 0; n < file.size(); ++n) {
        QTextDocument d;
        const formats::Result r = formats::rtf::read(file.left(n), d);
        QCOMPARE(r.ok, n >= 5);
        QVERIFY(text(d).size() <= 40);
    }
}

void RtfReaderTest::randomAndMutatedBytes_neverCrash()
{
    QRandomGenerator rng(20240531);
    const QByteArray alphabet = "{}\\\\\\\\'*;0123456789-abcdefuxbin \r\n\x82\xe9";
    const QByteArray seed = "{\\rtf1\\ansi\\ansicpg932" + fontTable
                            + "{\\colortbl;\\red1;}\\f4\\'82\\'a0\\uc2\\u-10179\\'81\\'40{\\*\\x}{\\field{\\fldrslt a}}"
                              "\\intbl a\\cell\\row{\\upr{x}{\\*\\ud y}}\\bin2 ab\\par}";
    for (int round = 0; round < 3000; ++round) {
        QByteArray data;
        if (round % 2 == 0) {
            data = "{\\rtf1 ";
            const int n = int(rng.bounded(400));
            for (int i = 0; i < n; ++i)
                data += alphabet.at(int(rng.bounded(alphabet.size())));
        } else {
            data = seed;
            const int edits = 1 + int(rng.bounded(8));
            for (int i = 0; i < edits; ++i) {
                const int at = int(rng.bounded(data.size()));
                switch (rng.bounded(3)) {
                case 0: data[at] = char(rng.bounded(256)); break;
                case 1: data.remove(at, int(rng.bounded(10))); break;
                default: data.insert(at, alphabet.at(int(rng.bounded(alphabet.size())))); break;
                }
            }
        }
        QTextDocument d;
        const formats::Result r = formats::rtf::read(data, d);
        QVERIFY(r.ok || !r.error.isEmpty());
    }
}

QTEST_MAIN(RtfReaderTest)
#include "test_rtf_reader.moc"
