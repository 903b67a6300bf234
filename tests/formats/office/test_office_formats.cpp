// The parts of Word and OpenDocument files a reader elsewhere is strict about: the zip
// itself, each character and paragraph format through both formats and back, the
// contents as Word's TOC field, text that only collapsing rules would lose, and the
// tables' column widths.

#include "formats/DocumentExport.h"
#include "formats/DocumentLoad.h"
#include "formats/DocumentStructure.h"
#include "formats/office/Zip.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

using formats::exports::Format;

namespace {

// The document written in the format and read back through Open.
bool roundTrip(const QTextDocument &doc, Format format, QTextDocument &out)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan"));
    if (!formats::exports::writeFile(doc, format, path, QStringLiteral("Plan")).ok)
        return false;
    const formats::Result r = formats::loadFile(path, out, QTextCharFormat());
    if (!r.ok)
        qWarning("%s", qPrintable(r.error));
    return r.ok;
}

QByteArray entry(const QByteArray &file, const QString &name)
{
    formats::office::zip::Archive zip;
    QByteArray out;
    return zip.open(file).ok && zip.read(name, 1 << 24, out).ok ? out : QByteArray();
}

} // namespace

class OfficeFormatsTest : public QObject {
    Q_OBJECT
private slots:
    void zip_entriesInOrderWithinLimits();
    void odt_mimetypeFirstAndStored();
    void formats_surviveBothFormats_data();
    void formats_surviveBothFormats();
    void spacesAndSpans_kept_data();
    void spacesAndSpans_kept();
    void docx_contentsAreOneTocField();
    void tables_keepTheirColumnWidths_data();
    void tables_keepTheirColumnWidths();
};

void OfficeFormatsTest::zip_entriesInOrderWithinLimits()
{
    const QByteArray file = formats::office::zip::write({{QStringLiteral("a.xml"), QByteArray(1000, 'a')},
                                               {QStringLiteral("b/c.xml"), "c", true},
                                               {QStringLiteral("empty"), {}}});
    formats::office::zip::Archive zip;
    QVERIFY(zip.open(file).ok);
    QCOMPARE(zip.names(), (QStringList{"a.xml", "b/c.xml", "empty"}));
    QByteArray out;
    QVERIFY(zip.read(QStringLiteral("a.xml"), 1000, out).ok);
    QCOMPARE(out, QByteArray(1000, 'a'));
    QCOMPARE(zip.read(QStringLiteral("a.xml"), 999, out).error, formats::office::zip::entryTooLarge());
    QVERIFY(out.isEmpty());
    QVERIFY(zip.read(QStringLiteral("empty"), 0, out).ok);
    QVERIFY(!zip.read(QStringLiteral("missing"), 10, out).ok);
    QCOMPARE(formats::office::zip::write({{QStringLiteral("x"), "1"}}), formats::office::zip::write({{QStringLiteral("x"), "1"}}));

    // A byte of a.xml's compressed data changed: its checksum no longer matches.
    QByteArray bad = file;
    bad[37] = char(bad[37] ^ 0x55);
    formats::office::zip::Archive damaged;
    QVERIFY(!(damaged.open(bad).ok && damaged.read(QStringLiteral("a.xml"), 1000, out).ok));
}

// OpenDocument readers find the type at a fixed place: the first entry, stored.
void OfficeFormatsTest::odt_mimetypeFirstAndStored()
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("x"));
    const QByteArray file = formats::exports::encode(doc, Format::Odt, {});
    QVERIFY(file.startsWith("PK\x03\x04"));
    QCOMPARE(file.mid(8, 2), QByteArray("\0\0", 2)); // compression: stored
    QCOMPARE(file.mid(26, 2), QByteArray("\x08\0", 2)); // name length
    QCOMPARE(file.mid(28, 2), QByteArray("\0\0", 2));   // no extra field
    QCOMPARE(file.mid(30, 8 + 39), QByteArray("mimetypeapplication/vnd.oasis.opendocument.text"));
    QVERIFY(entry(file, QStringLiteral("META-INF/manifest.xml")).contains("content.xml"));
}

void OfficeFormatsTest::formats_surviveBothFormats_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<QString>("what");
    for (const auto &[format, name] : {std::pair{Format::Docx, "docx"}, {Format::Odt, "odt"}})
        for (const char *what : {"underline", "strikeout", "superscript", "size", "font", "colour", "bold off",
                                 "right", "justify", "centre", "heading 2 after a table"})
            QTest::addRow("%s %s", name, what) << format << QString::fromLatin1(what);
}

// Each format on its own, so one lost on the way names itself.
void OfficeFormatsTest::formats_surviveBothFormats()
{
    QFETCH(Format, format);
    QFETCH(QString, what);
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat cf;
    QTextBlockFormat bf;
    if (what == QLatin1String("underline"))
        cf.setFontUnderline(true);
    else if (what == QLatin1String("strikeout"))
        cf.setFontStrikeOut(true);
    else if (what == QLatin1String("superscript"))
        cf.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (what == QLatin1String("size"))
        cf.setFontPointSize(7.5);
    else if (what == QLatin1String("font"))
        cf.setFontFamilies({QStringLiteral("Times New Roman")});
    else if (what == QLatin1String("colour"))
        cf.setForeground(QColor(0x12, 0x34, 0x56));
    else if (what == QLatin1String("bold off"))
        cf.setFontWeight(QFont::Normal);
    else if (what == QLatin1String("right"))
        bf.setAlignment(Qt::AlignRight);
    else if (what == QLatin1String("justify"))
        bf.setAlignment(Qt::AlignJustify);
    else if (what == QLatin1String("centre"))
        bf.setAlignment(Qt::AlignHCenter);
    if (what == QLatin1String("heading 2 after a table")) {
        c.insertTable(1, 1)->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("cell"));
        c.movePosition(QTextCursor::End);
        bf.setHeadingLevel(2);
    }
    c.setBlockFormat(bf);
    c.insertText(QStringLiteral("plain "));
    c.insertText(QStringLiteral("marked"), cf);

    QTextDocument back;
    QVERIFY(roundTrip(doc, format, back));
    const QTextCursor found = back.find(QStringLiteral("marked"));
    QVERIFY(!found.isNull());
    const QTextCharFormat got = found.charFormat();
    const QTextBlockFormat gotBlock = found.block().blockFormat();
    QCOMPARE(got.fontUnderline(), cf.fontUnderline());
    QCOMPARE(got.fontStrikeOut(), cf.fontStrikeOut());
    QCOMPARE(got.verticalAlignment(), cf.verticalAlignment());
    if (cf.hasProperty(QTextFormat::FontPointSize))
        QCOMPARE(got.fontPointSize(), cf.fontPointSize());
    if (cf.hasProperty(QTextFormat::FontFamilies))
        QCOMPARE(got.fontFamilies().toStringList(), cf.fontFamilies().toStringList());
    if (cf.hasProperty(QTextFormat::ForegroundBrush))
        QCOMPARE(got.foreground().color(), cf.foreground().color());
    if (bf.headingLevel() == 0) // a heading's style makes it bold
        QCOMPARE(got.fontWeight(), int(QFont::Normal));
    QCOMPARE(gotBlock.alignment() & Qt::AlignHorizontal_Mask, bf.alignment() & Qt::AlignHorizontal_Mask);
    QCOMPARE(gotBlock.headingLevel(), bf.headingLevel());
}

void OfficeFormatsTest::spacesAndSpans_kept_data()
{
    QTest::addColumn<Format>("format");
    QTest::newRow("docx") << Format::Docx;
    QTest::newRow("odt") << Format::Odt;
}

// OpenDocument collapses spaces unless written as text:s; a cell spanning two columns
// stays one cell.
void OfficeFormatsTest::spacesAndSpans_kept()
{
    QFETCH(Format, format);
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("  two  spaces   three "));
    c.insertBlock();
    QTextTable *t = c.insertTable(2, 2);
    t->mergeCells(0, 0, 1, 2);
    t->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("wide"));
    t->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("right"));

    QTextDocument back;
    QVERIFY(roundTrip(doc, format, back));
    QCOMPARE(back.begin().text(), QStringLiteral("  two  spaces   three "));
    const QTextTable *table = QTextCursor(back.find(QStringLiteral("wide"))).currentTable();
    QVERIFY(table);
    QCOMPARE(table->columns(), 2);
    QCOMPARE(table->cellAt(0, 0).columnSpan(), 2);
    QCOMPARE(table->cellAt(1, 1).firstCursorPosition().block().text(), QStringLiteral("right"));
}

// Word shows the stored entries at once and can update the field.
void OfficeFormatsTest::docx_contentsAreOneTocField()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("Contents"));
    for (int level : {1, 2, 1}) {
        QTextBlockFormat entry;
        entry.setProperty(formats::ContentsLevelProperty, level);
        c.insertBlock(entry);
        c.insertText(QStringLiteral("Entry %1\t%2").arg(level).arg(level + 1));
    }
    QTextBlockFormat h1;
    h1.setHeadingLevel(1);
    c.insertBlock(h1);
    c.insertText(QStringLiteral("Entry 1"));
    const QByteArray xml = entry(formats::exports::encode(doc, Format::Docx, {}), QStringLiteral("word/document.xml"));
    QCOMPARE(xml.count("w:fldCharType=\"begin\""), 1);
    QCOMPARE(xml.count("w:fldCharType=\"end\""), 1);
    QVERIFY(xml.contains("TOC \\o &quot;1-2&quot;") || xml.contains("TOC \\o \"1-2\""));
    const qsizetype separate = xml.indexOf("w:fldCharType=\"separate\"");
    const qsizetype end = xml.indexOf("w:fldCharType=\"end\"");
    QVERIFY(separate > 0 && separate < xml.indexOf("Entry 2") && xml.lastIndexOf("<w:t xml:space=\"preserve\">2</w:t>") < end);
    QVERIFY(end < xml.indexOf("Heading1"));
    QCOMPARE(xml.count("w:pStyle w:val=\"TOC2\""), 1);
}

void OfficeFormatsTest::tables_keepTheirColumnWidths_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<QList<QTextLength>>("widths");
    QTest::addColumn<QList<double>>("shares");
    const QList<QTextLength> percent{QTextLength(QTextLength::PercentageLength, 20), QTextLength(QTextLength::PercentageLength, 50),
                                     QTextLength(QTextLength::PercentageLength, 30)};
    for (const Format format : {Format::Docx, Format::Odt}) {
        const char *name = format == Format::Docx ? "docx" : "odt";
        QTest::addRow("%s, percentages", name) << format << percent << QList<double>{0.2, 0.5, 0.3};
        // None set: as Qt lays the table out, the column of words widest.
        QTest::addRow("%s, none", name) << format << QList<QTextLength>{} << QList<double>{};
    }
}

void OfficeFormatsTest::tables_keepTheirColumnWidths()
{
    QFETCH(Format, format);
    QFETCH(QList<QTextLength>, widths);
    QFETCH(QList<double>, shares);
    QTextDocument doc;
    QTextTableFormat tf;
    tf.setColumnWidthConstraints(widths);
    QTextTable *table = QTextCursor(&doc).insertTable(2, 3, tf);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("Cumulative expenses of the year"));
    table->cellAt(1, 2).firstCursorPosition().insertText(QStringLiteral("2"));
    const bool word = format == Format::Docx;
    const QString xml = QString::fromUtf8(entry(formats::exports::encode(doc, format, {}),
                                                word ? QStringLiteral("word/document.xml") : QStringLiteral("content.xml")));
    // Word's grid gives the widths; an OpenDocument column names its style, which gives its width.
    static const QRegularExpression grid(QStringLiteral("<w:gridCol w:w=\"(\\d+)\"|<table:table-column table:style-name=\"(\\w+)\""));
    QList<double> got;
    for (const auto &m : grid.globalMatch(xml))
        got << (word ? m.captured(1).toDouble()
                     : QRegularExpression(QStringLiteral("\"%1\"[^>]*><style:table-column-properties style:column-width=\"([\\d.]+)pt")
                                              .arg(m.captured(2)))
                           .match(xml).captured(1).toDouble());
    QCOMPARE(got.size(), 3);
    const double total = got[0] + got[1] + got[2];
    for (qsizetype i = 0; i < shares.size(); ++i)
        QVERIFY2(qAbs(got[i] / total - shares[i]) < 0.005, qPrintable(QString::number(got[i] / total)));
    QVERIFY(!shares.isEmpty() || (got[0] > 2 * got[1] && got[0] > 2 * got[2]));
}

QTEST_MAIN(OfficeFormatsTest)
#include "test_office_formats.moc"
