#include "plandoc/Projection.h"
#include "formats/DocumentExport.h"

#include <QTest>
#include <QTextDocument>
#include <QTextTable>

using namespace plandoc::projection;

Q_DECLARE_METATYPE(QList<qint64>)

namespace {

Row row(std::initializer_list<Cents> units)
{
    Row r{};
    int i = 0;
    for (Cents u : units)
        r[i++] = u * 100;
    return r;
}

} // namespace

class ProjectionTest : public QObject {
    Q_OBJECT
private slots:
    void prefill_takesEachPartsLastNumber_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QList<qint64>>("cents");
        QTest::newRow("label and sign") << "Month 1: $1,000" << QList<qint64>{100000};
        QTest::newRow("comma and space") << "900, 950, 1000" << QList<qint64>{90000, 95000, 100000};
        QTest::newRow("year then decimals") << "Jan 2027: 3,200.50" << QList<qint64>{320050};
        QTest::newRow("commas without spaces") << "1,2,3" << QList<qint64>{300};
        QTest::newRow("lines, semicolons, no number")
            << "Month 1: 500\nnothing yet\r\nMonth 3: 700; Month 4: 1,234,567.891" << QList<qint64>{50000, 70000, 123456789};
        QTest::newRow("bad grouping") << "12345,678" << QList<qint64>{67800};
        QTest::newRow("above a trillion") << "99999999999999999999" << QList<qint64>{MaxAmount};
        QTest::newRow("no number") << "(blank)" << QList<qint64>{};
        QList<qint64> twelve;
        QString many;
        for (int i = 1; i <= 14; ++i) {
            many += QStringLiteral("%1; ").arg(i);
            if (i <= 12)
                twelve << i * 100;
        }
        QTest::newRow("more than twelve") << many << twelve;
    }
    void prefill_takesEachPartsLastNumber()
    {
        QFETCH(QString, answer);
        QFETCH(QList<qint64>, cents);
        QCOMPARE(amountsInAnswer(answer), cents);
        const Row r = prefillRow(answer);
        QCOMPARE(r[11], cents.size() == 12 ? cents.last() : 0);
    }

    void breakEven_firstMonthCumulativeIsNotNegative_data()
    {
        QTest::addColumn<Row>("income");
        QTest::addColumn<Row>("expenses");
        QTest::addColumn<qint64>("opening");
        QTest::addColumn<int>("month");
        QTest::addColumn<QString>("sentence");
        QTest::newRow("month 1") << row({100}) << row({100}) << qint64(0) << 1
                                 << "Break-even: month 1 (March 2027), when the cumulative net first reaches zero or more.";
        QTest::newRow("month 12, start-up costs")
            << row({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1200}) << row({}) << qint64(-120000) << 12
            << "Break-even: month 12 (February 2028), when the cumulative net first reaches zero or more.";
        QTest::newRow("never") << row({10, 10}) << row({20, 20}) << qint64(0) << 0
                               << "Break-even: not reached within these 12 months.";
        QTest::newRow("cash carries a loss") << row({}) << row({5}) << qint64(1000) << 1
                                             << "Break-even: month 1 (March 2027), when the cumulative net first reaches zero or more.";
    }
    void breakEven_firstMonthCumulativeIsNotNegative()
    {
        QFETCH(Row, income);
        QFETCH(Row, expenses);
        QFETCH(qint64, opening);
        QFETCH(int, month);
        QFETCH(QString, sentence);
        Input in{income, expenses, opening, {}, QDate(2027, 3, 15)};
        const Figures f = compute(in);
        QCOMPARE(f.breakEvenMonth, month);
        QCOMPARE(breakEvenSentence(in, f), sentence);
        QCOMPARE(f.cumulative[11], opening + f.totalNet);
    }

    void amounts_formatAndParse_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("shown");
        QTest::newRow("zero") << "0" << qint64(0) << "0";
        QTest::newRow("thousands") << "1234567" << qint64(123456700) << "1,234,567";
        QTest::newRow("cents") << "$1,000.5" << qint64(100050) << "1,000.50";
        QTest::newRow("negative") << "-  $ 75.05" << qint64(-7505) << "-75.05";
        QTest::newRow("a trillion") << "1,000,000,000,000" << MaxAmount << "1,000,000,000,000";
    }
    void amounts_formatAndParse()
    {
        QFETCH(QString, typed);
        QFETCH(qint64, cents);
        QFETCH(QString, shown);
        QCOMPARE(parseAmount(typed, QStringLiteral("$")), std::optional<Cents>(cents));
        QCOMPARE(formatAmount(cents), shown);
        QCOMPARE(parseAmount(shown), std::optional<Cents>(cents));
    }
    void amounts_refuseWhatIsNoAmount()
    {
        for (const char *bad : {"", "abc", "1,00", "1.234", "1,000,000,000,000.01", "12e3", "--5"})
            QVERIFY2(!parseAmount(QString::fromLatin1(bad)), bad);
        QCOMPARE(defaultFirstMonth(QDate(2026, 12, 31)), QDate(2027, 1, 1));
    }

    void insert_tableThenLineAsOneUndoStep()
    {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("before after"));
        QTextCursor c(&doc);
        c.setPosition(7);
        Input in{row({1000, 2000}), row({1500}), -10000, QStringLiteral("$"), QDate(2027, 1, 1)};
        insertTable(c, in);
        QTextCursor probe(&doc);
        probe.movePosition(QTextCursor::NextBlock);
        QTextTable *table = probe.currentTable();
        QVERIFY(table);
        QCOMPARE(table->rows(), 5);
        QCOMPARE(table->columns(), 14);
        QCOMPARE(table->cellAt(0, 1).firstCursorPosition().block().text(), QStringLiteral("Jan 2027"));
        QCOMPARE(table->cellAt(3, 13).firstCursorPosition().block().text(), QStringLiteral("1,500"));
        QCOMPARE(table->cellAt(4, 2).firstCursorPosition().block().text(), QStringLiteral("1,400"));
        QVERIFY(table->cellAt(4, 1).firstCursorPosition().charFormat().fontWeight() > QFont::Normal);
        QCOMPARE(table->cellAt(1, 1).firstCursorPosition().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                 Qt::AlignRight);
        const QStringList lines = doc.toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.first(), QStringLiteral("before "));
        QVERIFY(lines.contains(QStringLiteral("Break-even: month 2 (February 2027), when the cumulative net first reaches zero or more.")));
        QCOMPARE(lines.last(), QStringLiteral("after"));
        doc.undo();
        QCOMPARE(doc.toPlainText(), QStringLiteral("before after"));
    }
    void export_carriesTheTableAsATable_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QStringList>("lines");
        const QString sentence = QStringLiteral("Break-even: not reached within these 12 months.");
        QTest::newRow("text") << int(formats::exports::Format::Text)
                              << QStringList{"Plan", "\tJan 2027\tFeb 2027\tMar 2027\tApr 2027\tMay 2027\tJun 2027\tJul 2027"
                                                     "\tAug 2027\tSep 2027\tOct 2027\tNov 2027\tDec 2027\tTotal",
                                             "Cumulative\t-250.50\t-250.50\t-250.50", sentence};
        QTest::newRow("markdown") << int(formats::exports::Format::Markdown)
                                  << QStringList{"Plan", "|----------|----", "|**Cumulative**|**-250.50**|", sentence.chopped(1)};
    }
    void export_carriesTheTableAsATable()
    {
        QFETCH(int, format);
        QFETCH(QStringList, lines);
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("Plan\n"));
        QTextCursor c(&doc);
        c.movePosition(QTextCursor::End);
        insertTable(c, Input{{}, row({}), -25050, {}, QDate(2027, 1, 1)});
        const QString out = QString::fromUtf8(formats::exports::encode(doc, formats::exports::Format(format), {}));
        QStringList got = out.split(QLatin1Char('\n'));
        for (const QString &line : lines)
            QVERIFY2(std::any_of(got.begin(), got.end(), [&](const QString &g) { return g.startsWith(line); }),
                     qPrintable(line + QStringLiteral("\n in \n") + out));
        QVERIFY(QString::fromUtf8(formats::exports::encode(doc, formats::exports::Format::Html, {})).contains(QLatin1String("<table")));
    }
    void insert_largeAmountsTakeTwoHalves()
    {
        QTextDocument doc;
        QTextCursor c(&doc);
        Row big;
        big.fill(MaxAmount - 1);
        insertTable(c, Input{big, {}, 0, {}, QDate(2027, 1, 1)});
        QCOMPARE(doc.rootFrame()->childFrames().size(), 2);
    }
};

QTEST_MAIN(ProjectionTest)
#include "test_projection.moc"
