// The Word and OpenDocument readers at their limits: what Quorvane writes at each of the
// editor's limits opens again, one past it is refused, and a file made to hurt is
// refused with its reason or read, a refused one leaving the document as it was.

#include "formats/DocumentExport.h"
#include "formats/DocumentLoad.h"
#include "formats/Limits.h"
#include "formats/office/OfficeBuild.h"
#include "formats/office/OfficeRead.h"
#include "support/OfficeFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

using formats::exports::Format;
using namespace officefiles;

namespace {

// A document of one shape with n of its unit, in the editor's font.
void fill(QTextDocument &doc, const QString &shape, int n)
{
    QTextCursor c(&doc);
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("arial")});
    plain.setFontPointSize(12);
    if (shape == QLatin1String("paragraphs")) {
        c.insertText(QStringLiteral("x\n").repeated(n - 1) + QLatin1Char('x'), plain);
    } else if (shape == QLatin1String("runs")) {
        fillRuns(doc, n);
    } else if (shape == QLatin1String("cells")) {
        QTextTable *t = c.insertTable(n / 10, 10);
        for (int i = 0; i < n; ++i)
            t->cellAt(i / 10, i % 10).firstCursorPosition().insertText(QStringLiteral("c"), plain);
    } else {
        c.insertText(QString(n, QLatin1Char('x')), plain);
    }
}

int fragments(const QTextDocument &doc)
{
    int n = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            ++n;
    return n;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

const QByteArray Para = "<w:p><w:r><w:t>x</w:t></w:r></w:p>";

// A Word paragraph of n runs, each "x" in a colour and font of its own as `vary` says.
QByteArray runs(int n, const std::function<QByteArray(int)> &vary)
{
    QByteArray body = "<w:p>";
    for (int i = 0; i < n; ++i)
        body += "<w:r><w:rPr>" + vary(i) + "</w:rPr><w:t>x</w:t></w:r>";
    return body + "</w:p>";
}

QByteArray utf16Word()
{
    const QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?><w:document ") +
                        QString::fromLatin1(WordNs) + QStringLiteral("><w:body>") + QString::fromLatin1(Para) +
                        QStringLiteral("</w:body></w:document>");
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char *>(xml.utf16()), xml.size() * 2);
    return formats::office::zip::write({{QStringLiteral("word/document.xml"), bytes}});
}

} // namespace

class OfficeLimitsTest : public QObject {
    Q_OBJECT
private slots:
    void atLimits_roundTrip_data();
    void atLimits_roundTrip();
    void hostile_data();
    void hostile();
};

void OfficeLimitsTest::atLimits_roundTrip_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<QString>("shape");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("error"); // empty: opens as it was written
    const struct {
        const char *shape;
        int most, more;
        QString error;
    } limits[] = {
        {"paragraphs", formats::MaxParagraphs, 1, formats::tooManyParagraphs()},
        {"runs", formats::MaxRuns, 1, formats::tooManyRuns()},
        {"cells", formats::MaxTableCells, 10, formats::tooManyTableCells()},
        {"paragraph length", formats::MaxParagraphLength, 1, formats::paragraphTooLong()},
    };
    for (const auto &[format, name] : {std::pair{Format::Docx, "docx"}, {Format::Odt, "odt"}}) {
        for (const auto &l : limits) {
            QTest::addRow("%s %s at the limit", name, l.shape) << format << l.shape << l.most << QString();
            QTest::addRow("%s %s past it", name, l.shape) << format << l.shape << l.most + l.more << l.error;
        }
    }
}

// The readers count a paragraph's runs and characters, a table's cells and every block as
// the document gets them, so the limits hold for Word and OpenDocument as for RTF.
void OfficeLimitsTest::atLimits_roundTrip()
{
    QFETCH(Format, format);
    QFETCH(QString, shape);
    QFETCH(int, n);
    QFETCH(QString, error);
    QTextDocument written;
    fill(written, shape, n);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan"));
    QVERIFY(formats::exports::writeFile(written, format, path, QStringLiteral("Plan")).ok);

    QTextDocument doc;
    doc.setPlainText(QStringLiteral("kept"));
    const formats::Result r = formats::loadFile(path, doc, QTextCharFormat());
    QCOMPARE(r.error, error);
    if (!r.ok) {
        QCOMPARE(doc.toPlainText(), QStringLiteral("kept"));
        return;
    }
    QCOMPARE(doc.blockCount(), written.blockCount());
    QCOMPARE(fragments(doc), fragments(written));
    QCOMPARE(doc.toPlainText(), written.toPlainText());
}

void OfficeLimitsTest::hostile_data()
{
    namespace office = formats::office;
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("error"); // the reason's start; empty: read
    QTest::addColumn<QString>("leftOut");
    const QByteArray big(office::MaxPartBytes + 1, ' ');
    QTest::newRow("zip bomb") << wordFile(Para + big) << office::zip::entryTooLarge() << QString();
    QTest::newRow("zip bomb with a small declared size") << lyingSizes(wordFile(Para + big)) << "The file " << QString();
    const QByteArray half = ("<!--" + QByteArray(1000, 'c') + "-->").repeated(office::MaxInflatedBytes / 2 / 1000);
    QTest::newRow("parts past the cap together")
        << wordFile(Para, {{QStringLiteral("word/styles.xml"), "<w:styles " + WordNs + '>' + half + "</w:styles>"},
                           {QStringLiteral("word/numbering.xml"), "<w:numbering " + WordNs + '>' + half + "</w:numbering>"}})
        << office::zip::entryTooLarge() << QString();
    QByteArray cut = wordFile(Para);
    cut.chop(10);
    QTest::newRow("broken central directory") << cut << office::zip::brokenArchive() << QString();
    QTest::newRow("encrypted entry") << encrypted(wordFile(Para)) << office::zip::encryptedEntry() << QString();
    QTest::newRow("password-protected odt") << passwordOdt() << office::zip::encryptedEntry() << QString();
    QTest::newRow("odt without content.xml") << odtWithoutContent() << office::holdsNoText() << QString();
    std::vector<office::zip::Entry> many;
    for (int i = 0; i <= office::MaxZipEntries; ++i)
        many.push_back({QString::number(i), {}});
    QTest::newRow("too many entries") << wordFile(Para, many) << office::zip::tooManyEntries() << QString();
    QTest::newRow("absurd names") << wordFile(Para, {{QStringLiteral("../../../etc/passwd"), "x"},
                                                     {QString(5000, QLatin1Char('n')), "x"}})
                                  << QString() << QString();
    QTest::newRow("nested a million deep") << wordFile(QByteArray("<w:p>").repeated(1000000)) << office::nestedTooDeep()
                                           << QString();
    QTest::newRow("entity tricks")
        << office::zip::write({{QStringLiteral("word/document.xml"),
                                "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">"
                                "<!ENTITY c SYSTEM \"file:///etc/passwd\">]><w:document " + WordNs +
                                    "><w:body><w:p><w:r><w:t>&b;&c;</w:t></w:r></w:p></w:body></w:document>"}})
        << office::declaresEntities() << QString();
    QTest::newRow("too many paragraphs") << wordFile(QByteArray("<w:p/>").repeated(formats::MaxParagraphs + 1))
                                         << formats::tooManyParagraphs() << QString();
    QTest::newRow("too many table columns") << wordFile("<w:tbl><w:tr>" + QByteArray("<w:tc/>").repeated(1001) + "</w:tr></w:tbl>")
                                            << office::tableTooLarge() << QString();
    QTest::newRow("broken XML") << wordFile("<w:p><w:r>") << "The file is damaged: its XML" << QString();
    QTest::newRow("XML in UTF-16") << utf16Word() << QString() << QString();
    // Line ends, paragraph and frame marks would each start a block in Qt's cursor.
    QTest::newRow("text with Qt's marks")
        << wordFile("<w:p><w:r><w:t>x" + QByteArray("&#13;\n\u2029\uFDD0\uFDD1").repeated(50001) + "</w:t></w:r></w:p>")
        << QString() << QString();

    // Each cap of the XML, checked before Qt's reader sees the part.
    QByteArray attributes = "<w:p";
    for (int i = 0; i <= office::MaxXmlAttributes; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"\"";
    QTest::newRow("too many attributes") << wordFile(attributes + "/>" + Para) << "The file gives one XML element more than"
                                         << QString();
    QTest::newRow("name too long") << wordFile('<' + QByteArray(office::MaxXmlNameBytes + 1, 'n') + "/>" + Para)
                                   << "The file holds an XML name of more than" << QString();
    QTest::newRow("value too long") << wordFile("<w:p w:a=\"" + QByteArray(office::MaxXmlValueBytes + 1, 'v') + "\"/>" + Para)
                                    << "The file holds an XML value of more than" << QString();
    QTest::newRow("text too long") << wordFile("<w:p><w:r><w:t>" + QByteArray(office::MaxXmlTextBytes + 1, ' ') + "</w:t></w:r></w:p>")
                                   << formats::paragraphTooLong() << QString();
    QByteArray namespaces;
    for (int i = 0; i <= office::MaxXmlNamespaces; ++i)
        namespaces += " xmlns:n" + QByteArray::number(i) + "=\"u\"";
    QTest::newRow("too many namespaces") << wordFile("<w:p" + namespaces + "/>" + Para)
                                         << "The file declares more than" << QString();
    QTest::newRow("too many elements and attributes") << wordFile(QByteArray("<x/>").repeated(office::MaxXmlItems) + Para)
                                                      << "The file holds more than" << QString();

    // The document's own caps, as for RTF.
    QTest::newRow("too many formats")
        << wordFile(runs(formats::MaxCharFormats + 1, [](int i) {
               return "<w:color w:val=\"" + QByteArray::number(i, 16).rightJustified(6, '0') + "\"/>";
           }))
        << formats::tooManyCharFormats() << QString();
    QTest::newRow("too many fonts")
        << wordFile(runs(formats::MaxFontsUsed + 1, [](int i) { return "<w:rFonts w:ascii=\"F" + QByteArray::number(i) + "\"/>"; }))
        << formats::tooManyFontsUsed() << QString();

    QTest::newRow("odt nested a million deep") << odtFile(QByteArray("<text:span>").repeated(1000000))
                                               << office::nestedTooDeep() << QString();
    QTest::newRow("odt with too many paragraphs") << odtFile(QByteArray("<text:p/>").repeated(formats::MaxParagraphs + 1))
                                                  << formats::tooManyParagraphs() << QString();
    QTest::newRow("odt with a huge repeated row")
        << odtFile("<table:table xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\">" +
                   QByteArray("<table:table-row><table:table-cell table:number-columns-repeated=\"1000\"/></table:table-row>")
                       .repeated(200) +
                   "</table:table>")
        << formats::tooManyTableCells() << QString();
    QTest::newRow("odt picture and tracked change left out")
        << odtFile("<text:tracked-changes/><text:p>x<draw:frame xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:"
                   "drawing:1.0\"/></text:p>")
        << QString() << "tracked changes and pictures";
    QTest::newRow("pictures and comments left out")
        << wordFile("<w:p><w:r><w:t>x</w:t><w:drawing/></w:r><w:r><w:commentReference/></w:r></w:p>") << QString()
        << "pictures and comments";
}

void OfficeLimitsTest::hostile()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, error);
    QFETCH(QString, leftOut);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.rtf")); // the name plays no part
    QVERIFY(writeFile(path, file));
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("kept"));
    formats::LoadInfo info;
    QElapsedTimer clock;
    clock.start();
    const formats::Result r = formats::loadFile(path, doc, QTextCharFormat(), &info);
    // Only a hang crosses this on a busy machine; how fast is the benchmark's to say.
    QVERIFY2(clock.elapsed() < 60000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(r.ok == error.isEmpty(), qPrintable(r.error));
    QVERIFY2(r.error.startsWith(error), qPrintable(r.error));
    QCOMPARE(info.leftOut, leftOut);
    if (!r.ok) {
        QCOMPARE(doc.toPlainText(), QStringLiteral("kept"));
    } else {
        QCOMPARE(doc.blockCount(), 1);
        QVERIFY(doc.toPlainText().startsWith(QLatin1Char('x')));
    }
}

QTEST_MAIN(OfficeLimitsTest)
#include "test_office_limits.moc"
