// What Quorvane writes at each of the editor's limits, as Word and OpenDocument, opens
// again as it was written: our heaviest files, the .docx of 500,000 runs in the editor's
// font among them (85 MB of XML).

#include "formats/DocumentExport.h"
#include "formats/DocumentLoad.h"
#include "formats/Limits.h"
#include "support/OfficeFiles.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

using formats::exports::Format;

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
        officefiles::fillRuns(doc, n);
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

} // namespace

class OfficeLimitsTest : public QObject {
    Q_OBJECT
private slots:
    void atLimits_roundTrip_data();
    void atLimits_roundTrip();
};

void OfficeLimitsTest::atLimits_roundTrip_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<QString>("shape");
    QTest::addColumn<int>("n");
    const std::pair<const char *, int> limits[] = {{"paragraphs", formats::MaxParagraphs},
                                                   {"runs", formats::MaxRuns},
                                                   {"cells", formats::MaxTableCells},
                                                   {"paragraph length", formats::MaxParagraphLength}};
    for (const auto &[format, name] : {std::pair{Format::Docx, "docx"}, {Format::Odt, "odt"}})
        for (const auto &[shape, most] : limits)
            QTest::addRow("%s %s", name, shape) << format << shape << most;
}

// The readers count a paragraph's runs and characters, a table's cells and every block as
// the document gets them, so what the editor holds at each limit opens as it was. (One
// past each limit is in test_office_hostile.)
void OfficeLimitsTest::atLimits_roundTrip()
{
    QFETCH(Format, format);
    QFETCH(QString, shape);
    QFETCH(int, n);
    QTextDocument written;
    fill(written, shape, n);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan"));
    QVERIFY(formats::exports::writeFile(written, format, path, QStringLiteral("Plan")).ok);

    QTextDocument doc;
    const formats::Result r = formats::loadFile(path, doc, QTextCharFormat());
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(doc.blockCount(), written.blockCount());
    QCOMPARE(fragments(doc), fragments(written));
    QCOMPARE(doc.toPlainText(), written.toPlainText());
}

QTEST_MAIN(OfficeLimitsTest)
#include "test_office_limits.moc"
