// The structure beyond text through our own files: headings, the title, page breaks,
// tables, tab stops and indents written, read back and written again to the same bytes; the
// styles other writers name read as headings; and a document without any of it written
// exactly as it always was.

#include "RtfTestUtil.h"
#include "StructureDocs.h"

#include "plan/PlanHints.h"
#include "plandoc/PlanDocument.h"

#include <QFile>
#include <QTest>

using namespace rtftest;

class RtfStructureTest : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_keepsStructureAndBytes_data();
    void roundTrip_keepsStructureAndBytes();
    void read_stylesOfOtherWriters_data();
    void read_stylesOfOtherWriters();
    void read_listTables_data();
    void read_listTables();
    void write_compositionWithoutStructure_unchanged();
    void roundTrip_keepsTabStopsAndIndents_data();
    void roundTrip_keepsTabStopsAndIndents();
};

void RtfStructureTest::roundTrip_keepsStructureAndBytes_data()
{
    QTest::addColumn<QString>("spec");
    QTest::addColumn<QByteArrayList>("written");
    QTest::newRow("formatted plan shape")
        << QStringLiteral("title:Juniper Hearth|p:Business Plan|page h1:1. Executive Summary|p:Text|h2:Goals|"
                          "p:more|page h1:2. The Business")
        << QByteArrayList{"{\\stylesheet{\\s0 Normal;}{\\s1\\outlinelevel0\\sbasedon0\\snext0 heading 1;}"
                          "{\\s2\\outlinelevel1\\sbasedon0\\snext0 heading 2;}{\\s7\\sbasedon0\\snext0 Title;}}",
                          "\\pard\\s7\\qc", "\\par\r\n\\pard\\s0", "\\page\r\n\\pard\\s1\\outlinelevel0",
                          "\\pard\\s2\\outlinelevel1"};
    QTest::newRow("only a title") << QStringLiteral("title:Plan|p:body") << QByteArrayList{"\\pard\\s7", "\\s0"};
    QTest::newRow("heading 4 named") << QStringLiteral("h4:Deep|p:x") << QByteArrayList{"{\\s4\\outlinelevel3"};
    QTest::newRow("projection table")
        << QStringLiteral("p:before|table:,Jan,Feb,*Total;Income,>1000,>900,>*1900;*Net,>-5,>,>*-5|p:after")
        << QByteArrayList{"\\par\r\n\\trowd\\trgaph108\\clbrdrt", "\\cellx2340", "\\cellx9360\r\n",
                          "\\pard\\qr\\intbl", "\\cell\r\n\\row\r\n\\pard\\plain"};
    QTest::newRow("table first, cells of two paragraphs, tables apart")
        << QStringLiteral("table:A/A2,B;,/|table:C|h1:Plan|table:D,*E") << QByteArrayList{"\\pard\\s0\\intbl\\plain"};
    QTest::newRow("lists, numbered and bulleted")
        << QStringLiteral("h1:Goals|number:Open|number:Hire|p:Staff|bullet:Ann|bullet:Bob|alpha:a|roman:I|roman:II")
        << QByteArrayList{"{\\*\\pn\\pnlvlbody\\pndec\\pnstart1\\pnindent360{\\pntxta .}}{\\pntext 2.\\tab}",
                          "{\\*\\pn\\pnlvlblt\\pnindent360{\\pntxtb\\u8226 *}}{\\pntext \\u8226 *\\tab}",
                          "\\pnlcltr", "{\\pntext II.\\tab}"};
    QTest::newRow("list in a plain document and in a cell")
        << QStringLiteral("bullet:a|bullet:b|table:x,y|p:z") << QByteArrayList{"\\pnlvlblt"};
    QTest::newRow("page break first and empty heading")
        << QStringLiteral("page h1:|page p:after") << QByteArrayList{"\\s1\\outlinelevel0\\pagebb", "\\page\r\n"};
}

void RtfStructureTest::roundTrip_keepsStructureAndBytes()
{
    QFETCH(QString, spec);
    QFETCH(QByteArrayList, written);
    QTextDocument doc;
    buildStructured(doc, spec);
    const QByteArray bytes = formats::rtf::write(doc);
    for (const QByteArray &w : written)
        QVERIFY2(bytes.contains(w), w.constData());
    formats::Result r;
    const auto back = readDoc(bytes, &r);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(structure(*back), structure(doc));
    QCOMPARE(describe(*back), describe(doc));
    QCOMPARE(formats::rtf::write(*back), bytes);
}

void RtfStructureTest::read_stylesOfOtherWriters_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    const QByteArray libreOffice =
        "{\\stylesheet{\\s0\\snext0\\f3\\fs24 Normal;}\n{\\s1\\sbasedon16\\snext17\\ilvl0\\outlinelevel0\\b Heading 1;}"
        "\n{\\s2\\sbasedon16\\outlinelevel1 Heading 2;}{\\s20\\sbasedon0\\qc Title;}{\\*\\cs15 Strong;}}";
    QTest::newRow("LibreOffice's style sheet")
        << libreOffice + "\\pard\\plain\\s20 T\\par\\pard\\plain\\s1 A\\par\\pard\\s2 B\\par\\pard\\s0 C"
        << QStringLiteral("title T|h1 A|h2 B|C");
    QTest::newRow("named only, as Word does")
        << QByteArray("{\\stylesheet{\\ql Normal;}{\\s1 heading 1;}{\\s3\\sbasedon0 heading 3;}{\\s4 heading 9;}}"
                      "\\s1 A\\par\\pard\\s3 B\\par\\pard\\s4 C")
        << QStringLiteral("h1 A|h3 B|C");
    QTest::newRow("outline level on the paragraph")
        << QByteArray("\\outlinelevel1 A\\par\\pard\\outlinelevel9 B\\par\\pard\\outlinelevel99 C\\par\\pard\\outlinelevel-1 D")
        << QStringLiteral("h2 A|B|C|D");
    QTest::newRow("pard and plain body styles")
        << QByteArray("{\\stylesheet{\\s1 heading 1;}{\\s2 Body;}}\\s1 A\\par\\s2 B\\par\\s1 C\\par\\pard D")
        << QStringLiteral("h1 A|B|h1 C|D");
    QTest::newRow("entry without its semicolon, unknown number")
        << QByteArray("{\\stylesheet{\\s1 heading 1}{\\s5\\outlinelevel0 X;}}\\s1 A\\par\\s5 B\\par\\s6 C")
        << QStringLiteral("h1 A|h1 B|C");
    QTest::newRow("style sheet text never shows")
        << QByteArray("a{\\stylesheet {\\s0 Normal;} stray {\\b more}}b") << QStringLiteral("ab");
    QTest::newRow("WordPad's bullets and numbers")
        << QByteArray("{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}\\fi-720\\li720 A\\par"
                      "{\\pntext\\'b7\\tab}B\\par\\pard{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}"
                      "C\\par\\pard{\\*\\pn\\pnlvl3\\pnucrm}D\\par\\pard{\\pntext 9.\\tab}E")
        << QStringLiteral("bullet A|bullet B|number C|roman D|9.\tE");
    QTest::newRow("page word ends the paragraph")
        << QByteArray("{\\stylesheet{\\s1 heading 1;}}x\\page\\pard\\s1 Head\\par\\pard y")
        << QStringLiteral("x|page h1 Head|y");
}

void RtfStructureTest::read_stylesOfOtherWriters()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    formats::Result r;
    const auto d = readDoc("{\\rtf1\\ansi " + rtf + "}", &r);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(structure(*d).join(QLatin1Char('|')), expected);
}

namespace {

// Each paragraph's text after its list (numbered as first met), numbering and indent: "0 decimal/1 One".
QString listItems(const QTextDocument &doc)
{
    static const char *const styles[] = {"", "disc", "circle", "square", "decimal", "alpha", "ALPHA", "roman", "ROMAN"};
    QList<const QTextList *> seen;
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextList *l = b.textList();
        if (l && !seen.contains(l))
            seen << l;
        out << (l ? QStringLiteral("%1 %2/%3 ").arg(seen.indexOf(l)).arg(styles[-l->format().style()]).arg(l->format().indent())
                  : QString()) + b.text();
    }
    return out.join(QLatin1Char('|'));
}

// As Word writes them: list 7 bulleted then lettered, list 9 lower roman, named by \ls1 and \ls2.
const QByteArray wordLists =
    "{\\*\\listtable{\\list\\listtemplateid-1\\listhybrid{\\listlevel\\levelnfc23\\levelnfcn23\\leveljc0{\\leveltext\\'01"
    "\\u-3913 ?;}{\\levelnumbers;}\\f3\\fi-360\\li720}{\\listlevel\\levelnfc4\\levelnfcn4{\\leveltext\\'02\\'01.;}}"
    "{\\listname ;}\\listid7}{\\list\\listtemplateid5{\\listlevel\\levelnfc2\\levelnfcn2{\\leveltext\\'02\\'00.;}}\\listid9}}"
    "{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}{\\listoverride\\listid9\\ls2}}";
const QByteArray wordItem = "{\\listtext\\pard\\plain\\f3\\'b7\\tab}\\pard\\fi-360\\li720";

} // namespace

void RtfStructureTest::read_listTables_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    // LibreOffice writes no \* before the override table, and the marker before \ilvl and \ls.
    QFile lo(qEnvironmentVariable("QUORVANE_SOURCE_DIR") + QStringLiteral("/fuzz/seeds/libreoffice-lists.rtf"));
    QVERIFY(lo.open(QIODevice::ReadOnly));
    QTest::newRow("LibreOffice, nested") << lo.readAll()
                                         << QStringLiteral("Intro|0 decimal/1 One|0 decimal/1 Two|1 disc/2 Sub|0 decimal/1 Three|"
                                                           "2 disc/1 Dot|3 alpha/1 Al|4 roman/1 Ro|End|");
    QTest::newRow("Word, levels, two lists, a level the list lacks")
        << "{\\rtf1\\ansi" + wordLists + wordItem + "\\ls1 A\\par" + wordItem + "\\ls1\\ilvl1 B\\par" + wordItem
               + "\\ls1\\ilvl1 C\\par" + wordItem + "\\ls2 D\\par" + wordItem + "\\ls1 E\\par\\pard\\ls2\\ilvl99 F}"
        << QStringLiteral("0 disc/1 A|1 alpha/2 B|1 alpha/2 C|2 roman/1 D|3 disc/1 E|4 disc/9 F");
    QTest::newRow("an \\ls that names nothing keeps its marker")
        << "{\\rtf1\\ansi{\\*\\listoverridetable{\\listoverride\\listid4\\ls3}}" + wordLists
               + "{\\listtext 1.\\tab}\\ls5 A\\par\\pard\\ls-3 B\\par\\pard\\ilvl2 C\\par\\pard\\ls3 D}"
        << QStringLiteral("1.\tA|B|C|D");
    QByteArray many = "{\\rtf1{\\*\\listtable", overrides = "}{\\listoverridetable";
    for (int i = 0; i < 4100; ++i) {
        many += "{\\list{\\listlevel\\levelnfc0}\\listid" + QByteArray::number(i) + "}";
        overrides += "{\\listoverride\\listid" + QByteArray::number(i) + "\\ls" + QByteArray::number(i) + "}";
    }
    QTest::newRow("list tables past their limit") << many + overrides + "}\\ls4000 A\\par\\ls4099 B}" << QStringLiteral("0 decimal/1 A|B");
}

void RtfStructureTest::read_listTables()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    formats::Result r;
    const auto d = readDoc(rtf, &r);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(listItems(*d), expected);
}

// The specified composition, shown as the editor shows it, saved as it was before the
// writer knew styles (the file was written then).
void RtfStructureTest::write_compositionWithoutStructure_unchanged()
{
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Arial"), 10)); // not the machine's own
    QTextCursor c(&doc);
    QTextCharFormat arial;
    arial.setFontFamilies({QStringLiteral("arial")});
    arial.setFontPointSize(12);
    for (const QString &part : plandoc::composePlanParts(examplePlan())) {
        c.movePosition(QTextCursor::End);
        c.insertText(part, doc.isEmpty() ? arial : c.charFormat());
    }
    QFile golden(qEnvironmentVariable("QUORVANE_SOURCE_DIR") + QStringLiteral("/tests/formats/rtf/data/composition.rtf"));
    QVERIFY(golden.open(QIODevice::ReadOnly));
    QCOMPARE(formats::rtf::write(doc), golden.readAll());
}

void RtfStructureTest::roundTrip_keepsTabStopsAndIndents_data()
{
    // The margin and indent steps, the contents level, and tab stops as type ("lrcd", d for
    // decimal), leader and pixels from the indent.
    QTest::addColumn<qreal>("margin");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("contents");
    QTest::addColumn<QStringList>("tabs");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("contents entry of level 2") << 0.0 << 1 << 2 << QStringList{"r.600"} << QByteArray("\\s9\\li600\\tqr\\tldot\\tx9600");
    QTest::newRow("centred and left, margin") << 20.0 << 0 << 0 << QStringList{"c-100", "l 200"}
                                              << QByteArray("\\li300\\tqc\\tlhyph\\tx1800\\tx3300");
    QTest::newRow("decimal on a line, margin and steps") << 10.0 << 2 << 0 << QStringList{"d_50"}
                                                         << QByteArray("\\li1350\\tqdec\\tlul\\tx2100");
}

// The stops keep their place on the page, alignment and leader, the paragraph its indent
// and contents level; written again, the file is the same.
void RtfStructureTest::roundTrip_keepsTabStopsAndIndents()
{
    QFETCH(qreal, margin);
    QFETCH(int, steps);
    QFETCH(int, contents);
    QFETCH(QStringList, tabs);
    QFETCH(QByteArray, written);
    QTextBlockFormat f;
    f.setLeftMargin(margin);
    f.setIndent(steps);
    f.setProperty(formats::ContentsLevelProperty, contents);
    QList<QTextOption::Tab> stops;
    QString leaders;
    for (const QString &t : tabs) {
        stops << QTextOption::Tab(t.mid(2).toDouble(), QTextOption::TabType(QStringLiteral("lrcd").indexOf(t.at(0))));
        leaders += t.at(1);
    }
    f.setTabPositions(stops);
    f.setProperty(formats::TabLeadersProperty, leaders);
    QTextDocument doc;
    QTextCursor(&doc).setBlockFormat(f);
    const QByteArray bytes = formats::rtf::write(doc);
    QVERIFY2(bytes.contains(written), bytes.constData());
    const auto back = readDoc(bytes);
    const QTextBlockFormat is = back->begin().blockFormat();
    QCOMPARE(is.leftMargin() + is.indent() * back->indentWidth(), margin + steps * doc.indentWidth());
    QCOMPARE(formats::contentsLevel(is), contents);
    QCOMPARE(is.tabPositions().size(), stops.size());
    for (qsizetype i = 0; i < stops.size(); ++i) {
        QCOMPARE(is.tabPositions()[i].type, stops[i].type);
        QCOMPARE(is.leftMargin() + is.tabPositions()[i].position, margin + steps * doc.indentWidth() + stops[i].position);
        QCOMPARE(formats::tabLeader(is, i), tabs[i].at(1));
    }
    QCOMPARE(formats::rtf::write(*back), bytes);
}

QTEST_MAIN(RtfStructureTest)
#include "test_rtf_structure.moc"
