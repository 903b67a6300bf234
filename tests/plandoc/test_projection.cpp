#include "formats/DocumentExport.h"
#include "plandoc/AnswerAmounts.h"
#include "plandoc/FinancialReadBack.h"
#include "plandoc/FinancialTables.h"
#include "plandoc/FinancialText.h"
#include "plandoc/TableWidths.h"

#include <QTest>
#include <QTextDocument>
#include <QTextTable>

using namespace plandoc::finance;

Q_DECLARE_METATYPE(QList<qint64>)
Q_DECLARE_METATYPE(plandoc::finance::FinancialPlan)

namespace {

Row row(std::initializer_list<Cents> units)
{
    Row r{};
    int i = 0;
    for (Cents u : units)
        r[i++] = u * 100;
    return r;
}

// A bakery's year from January 2027: income 234,800, expenses 228,100, a net of 6,700;
// May is a month above water between two below it.
FinancialPlan bakery()
{
    FinancialPlan p;
    p.income = row({15800, 16200, 16900, 18600, 19400, 19800, 20100, 20300, 20700, 21000, 21800, 24200});
    p.expenses = row({19000, 18900, 18800, 18700, 19300, 19900, 18600, 18500, 18500, 18600, 18900, 20400});
    p.openingCash = 200000;
    p.firstMonth = QDate(2027, 1, 1);
    p.currency = QStringLiteral("$");
    return p;
}

QString cellText(QTextTable *t, int r, int c) { return t->cellAt(r, c).firstCursorPosition().block().text(); }

} // namespace

class ProjectionTest : public QObject {
    Q_OBJECT
private slots:
    void readAmounts_takesTheAmountOfEachPart_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QList<qint64>>("cents");
        QTest::addColumn<QList<qint64>>("marked"); // indexes
        const QList<qint64> none;
        QTest::newRow("sign beats a larger count") << "Jan $15,800 (2 new cafe accounts)" << QList<qint64>{1580000} << none;
        QTest::newRow("sign beats a count in brackets") << "Sep $20,700 (4 new accounts in all)" << QList<qint64>{2070000} << none;
        QTest::newRow("month name and colon") << "May: $19,400" << QList<qint64>{1940000} << none;
        QTest::newRow("number after Month") << "Month 1: $1,000" << QList<qint64>{100000} << none;
        QTest::newRow("Month number, no sign") << "Month 12: 10" << QList<qint64>{1000} << none;
        QTest::newRow("year after month") << "Jan 2027: 3,200.50" << QList<qint64>{320050} << none;
        QTest::newRow("comma and space") << "900, 950, 1000" << QList<qint64>{90000, 95000, 100000} << none;
        QTest::newRow("European decimals, sign after") << "1.200,50 €" << QList<qint64>{120050} << none;
        QTest::newRow("thousands point") << "£1.200; 1,200" << QList<qint64>{120000, 120000} << none;
        QTest::newRow("spaced groups beside a sign") << "18 600 €; 900 950" << QList<qint64>{1860000, 95000}
                                                      << QList<qint64>{1};
        QTest::newRow("several numbers, no sign: marked") << "Mar 16,900 - 3 weddings" << QList<qint64>{1690000}
                                                          << QList<qint64>{0};
        QTest::newRow("comma inside brackets does not cut") << "Apr $18,600 (2 cafes, 1 hotel); Mo. 5 $9"
                                                            << QList<qint64>{1860000, 900} << none;
        QTest::newRow("percentage and bad grouping") << "up 5% to 1,2,3; 12345,678" << QList<qint64>{300, 1234500}
                                                     << QList<qint64>{0, 1};
        QTest::newRow("lines, no number, above a trillion")
            << "Month 1: 500\nnothing yet\r\n99999999999999999999" << QList<qint64>{50000, MaxAmount} << none;
        QList<qint64> twelve;
        QString many;
        for (int i = 1; i <= 14; ++i) {
            many += QStringLiteral("%1; ").arg(i);
            if (i <= 12)
                twelve << i * 100;
        }
        QTest::newRow("at most twelve") << many << twelve << none;
    }
    void readAmounts_takesTheAmountOfEachPart()
    {
        QFETCH(QString, answer);
        QFETCH(QList<qint64>, cents);
        QFETCH(QList<qint64>, marked);
        QList<qint64> got;
        QList<qint64> gotMarked;
        for (const AnswerAmount &a : readAmounts(answer)) {
            if (a.marked)
                gotMarked << got.size();
            got << a.amount;
        }
        QCOMPARE(got, cents);
        QCOMPARE(gotMarked, marked);
    }

    void figures_matchTheHandReckoning_data()
    {
        QTest::addColumn<FinancialPlan>("plan");
        QTest::addColumn<qint64>("yearEndCash");
        QTest::addColumn<QList<qint64>>("years"); // net 2, expenses 3, repayments 1 to 3
        QTest::addColumn<QStringList>("sentences");
        FinancialPlan noLoan = bakery();
        noLoan.costOfSales = 3500;
        noLoan.incomeGrowth = 500;
        noLoan.expenseGrowth = 300;
        QTest::newRow("no loan") << noLoan << qint64(870000) << QList<qint64>{995340, 24540998, 0, 0, 0}
                                 << QStringList{"Break-even: month 7 (July 2027); from then on income covers expenses every month.",
                                                "Break-even sales: 18,708 a month.",
                                                "Lowest cash: -5,900 in month 4 (April 2027)."};
        FinancialPlan loan = bakery();
        loan.funding = {3750000, 5, 750, 3, QStringLiteral("to buy a second deck oven and a proofing cabinet"),
                        {{QStringLiteral("Deck oven"), 3000000}, {QStringLiteral("Proofing cabinet"), 750000},
                         {QStringLiteral("Working capital"), 500000}},
                        500000, {}};
        QTest::newRow("loan") << loan << qint64(693722) << QList<qint64>{670000, 22810000, 676278, 901704, 901704}
                              << QStringList{"Break-even: month 7 (July 2027); from then on income covers expenses every month.",
                                             "Break-even sales: 19,009 a month.",
                                             "Lowest cash: -3,900 in month 2 (February 2027).",
                                             "Loan repayment: 751.42 a month over 5 years at 7.5 %; debt service "
                                             "coverage in year 1: 0.74."};
        FinancialPlan zero = bakery();
        zero.funding.requested = 1200000;
        zero.funding.termYears = 1;
        QTest::newRow("zero-rate loan") << zero << qint64(970000) << QList<qint64>{670000, 22810000, 1100000, 100000, 0}
                                        << QStringList{"Break-even: month 7 (July 2027); from then on income covers expenses every month.",
                                                       "Break-even sales: 19,009 a month.",
                                                       "Lowest cash: 1,100 in month 6 (June 2027).",
                                                       "Loan repayment: 1,000 a month over 1 year at 0 %; debt service "
                                                       "coverage in year 1: 0.56."};
    }
    void figures_matchTheHandReckoning()
    {
        QFETCH(FinancialPlan, plan);
        QFETCH(qint64, yearEndCash);
        QFETCH(QList<qint64>, years);
        QFETCH(QStringList, sentences);
        const Figures f = compute(plan);
        QCOMPARE(f.totalNet, Cents(670000));
        QCOMPARE(f.cash[11], yearEndCash);
        QCOMPARE((QList<qint64>{f.years[1].net, f.years[2].expenses, f.years[0].repayments, f.years[1].repayments,
                                f.years[2].repayments}),
                 years);
        QCOMPARE(plandoc::finance::sentences(plan, f), sentences);
        // Every printed total is the sum of its printed cells.
        for (const QStringList &line : monthCells(plan, f).mid(1)) {
            if (line.first() == rowLabel(MonthRow::Cash) || line.first() == rowLabel(MonthRow::Cumulative))
                continue;
            Cents sum = 0;
            for (const QString &cell : line.mid(1, Months))
                sum += *parseAmount(cell);
            QCOMPARE(formatAmount(sum), line.last());
        }
    }

    void summary_statesTheRequestAndTheYear_data()
    {
        QTest::addColumn<FinancialPlan>("plan");
        QTest::addColumn<QString>("paragraph");
        FinancialPlan covered = bakery();
        covered.funding = {3750000, 5, 750, 3, QStringLiteral("buy a second deck oven and a proofing cabinet."),
                           {{QStringLiteral("Ovens"), 4250000}}, 500000, {}};
        QTest::newRow("covered with our own")
            << covered << "We are asking for a loan of $37,500 over 5 years to buy a second deck oven and a proofing "
                          "cabinet. With $5,000 of our own, it covers the whole $42,500. We project income of $234,800 "
                          "and a net of $6,700 in the first year, with break-even in month 7.";
        FinancialPlan short_ = bakery();
        short_.funding = {1000000, 1, 0, 1, {}, {{QStringLiteral("Van"), 1500000}}, 0, {{QStringLiteral("Grant"), 200000}}};
        short_.expenses[11] += 400000;
        QTest::newRow("falls short, a loss, no break-even")
            << short_ << "We are asking for a loan of $10,000 over 1 year. With $2,000 from other sources, it covers "
                         "$12,000 of the $15,000 we need. We project income of $234,800 and a net of $2,700 in the "
                         "first year, without break-even within the first twelve months.";
        FinancialPlan loss = bakery();
        loss.expenses.fill(2000000);
        loss.currency.clear();
        QTest::newRow("no loan, a loss") << loss << "We project income of 234,800 and a net loss of 5,200 in the first "
                                                    "year, with break-even in month 7.";
        QTest::newRow("nothing to say") << FinancialPlan() << "";
    }
    void summary_statesTheRequestAndTheYear()
    {
        QFETCH(FinancialPlan, plan);
        QFETCH(QString, paragraph);
        QCOMPARE(summaryParagraph(plan, compute(plan)), paragraph);
    }

    // Input at the edges gives the sentences, never a division by zero or an overflow.
    void figures_badInputStaysSound_data()
    {
        QTest::addColumn<FinancialPlan>("plan");
        QTest::addColumn<QString>("sentence");
        FinancialPlan empty;
        QTest::newRow("nothing at all") << empty << "Break-even sales: 0 a month.";
        FinancialPlan all = bakery();
        all.costOfSales = MaxRate;
        QTest::newRow("cost of sales 100 %") << all << "Break-even sales: not reachable at this margin.";
        FinancialPlan huge;
        huge.income.fill(MaxAmount);
        huge.expenses.fill(MaxAmount * 4); // beyond the largest: held to it
        huge.incomeGrowth = huge.expenseGrowth = 9999;
        huge.costOfSales = 2 * MaxRate;
        huge.funding = {MaxAmount * 2, 99, 100000, 40, {}, {{QString(), -5}}, MaxAmount, {{QString(), MaxAmount}}};
        QTest::newRow("amounts, rates and terms beyond their bounds") << huge
                                                                      << "Break-even sales: not reachable at this margin.";
        FinancialPlan tiny = bakery();
        tiny.funding.requested = 1;
        tiny.funding.termYears = 40;
        tiny.funding.month = 12;
        QTest::newRow("a cent over forty years, in the last month") << tiny << "Break-even sales: 19,009 a month.";
    }
    void figures_badInputStaysSound()
    {
        QFETCH(FinancialPlan, plan);
        QFETCH(QString, sentence);
        const Figures f = compute(plan);
        const QStringList said = sentences(plan, f);
        QCOMPARE(said.value(1), sentence);
        QCOMPARE(said.size(), plan.hasLoan() ? 4 : 3);
        for (const YearFigures &y : f.years)
            QVERIFY(std::abs(y.income) <= MaxAmount * 48 && std::abs(y.expenses) <= MaxAmount * 48);
        QVERIFY(f.payment >= 0);
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
        for (const char *bad : {"100.01", "-1", "7.255", "x"})
            QVERIFY2(!parseRate(QString::fromLatin1(bad)), bad);
        QCOMPARE(parseRate(QStringLiteral("7,5 %")), std::optional<Rate>(750));
        QCOMPARE(defaultFirstMonth(QDate(2026, 12, 31)), QDate(2027, 1, 1));
    }

    // Insert at the caret, then again: the second replaces the first in place, the
    // request included, and each undoes in one step.
    void place_insertsThenReplacesAsOneUndoStep()
    {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("before after"));
        QTextCursor c(&doc);
        c.setPosition(7);
        FinancialPlan plan = bakery();
        placeInDocument(c, plan);
        const QString once = doc.toPlainText();
        QStringList lines = once.split(QLatin1Char('\n'));
        QCOMPARE(lines.first(), QStringLiteral("before "));
        QCOMPARE(lines.last(), QStringLiteral("after"));
        QCOMPARE(doc.rootFrame()->childFrames().size(), 2);
        QCOMPARE(c.block().text(), assumptionsLine(plan));

        plan.funding.requested = 1200000;
        plan.income[0] = 0;
        QTextCursor elsewhere(&doc);
        placeInDocument(elsewhere, plan);
        QCOMPARE(doc.rootFrame()->childFrames().size(), 3); // the request's table joins them
        auto *months = qobject_cast<QTextTable *>(doc.rootFrame()->childFrames().at(1));
        QCOMPARE(cellText(months, 1, 1), QStringLiteral("0"));
        QCOMPARE(cellText(months, 7, 0), rowLabel(MonthRow::Cash));
        lines = doc.toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.first(), QStringLiteral("before "));
        QCOMPARE(lines.last(), QStringLiteral("after"));
        QCOMPARE(lines.count(QStringLiteral("Break-even sales: 19,009 a month.")), 1);
        doc.undo();
        QCOMPARE(doc.toPlainText(), once);
        doc.undo();
        QCOMPARE(doc.toPlainText(), QStringLiteral("before after"));
    }

    // From inside another table's cell they go after that table, not into the cell.
    void place_fromACellGoesAfterItsTable()
    {
        QTextDocument doc;
        QTextCursor c(&doc);
        c.insertTable(1, 2)->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("x"));
        c = doc.rootFrame()->childFrames().first()->firstCursorPosition();
        placeInDocument(c, bakery());
        QCOMPARE(doc.rootFrame()->childFrames().size(), 3);
        auto *first = qobject_cast<QTextTable *>(doc.rootFrame()->childFrames().first());
        QVERIFY(first->childFrames().isEmpty());
        QCOMPARE(cellText(first, 0, 1), QStringLiteral("x"));
        QVERIFY(findMade(doc).figures);
    }

    // Tables edited by hand give what still reads: a cell that is no amount is 0, a
    // column whose heading is no month is left out, the rest stands.
    void readBack_takesWhatStillReads()
    {
        QTextDocument doc;
        QTextCursor c(&doc);
        placeInDocument(c, bakery());
        auto *months = qobject_cast<QTextTable *>(doc.rootFrame()->childFrames().first());
        const auto setCell = [&](int r, int col, const QString &text) {
            QTextCursor cell = months->cellAt(r, col).firstCursorPosition();
            cell.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            cell.insertText(text);
        };
        setCell(1, 2, QStringLiteral("about 16k"));
        setCell(0, 3, QStringLiteral("March"));
        setCell(2, 12, QStringLiteral(""));
        const std::optional<FinancialPlan> read = readFinancialPlan(doc);
        QVERIFY(read);
        FinancialPlan expected = bakery();
        expected.income[1] = 0;
        expected.income[2] = expected.expenses[2] = 0;
        expected.expenses[11] = 0;
        QCOMPARE(read->income, expected.income);
        QCOMPARE(read->expenses, expected.expenses);
        QCOMPARE(read->openingCash, expected.openingCash);
        QCOMPARE(read->firstMonth, expected.firstMonth);
    }

    void export_carriesTheTableAsATable_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QStringList>("lines");
        const QString sentence = QStringLiteral("Break-even: not reached within these 12 months.");
        QTest::newRow("text") << int(formats::exports::Format::Text)
                              << QStringList{"Plan", "\tJan 2027\tFeb 2027\tMar 2027\tApr 2027\tMay 2027\tJun 2027\tJul 2027"
                                                     "\tAug 2027\tSep 2027\tOct 2027\tNov 2027\tDec 2027\tTotal",
                                             "Cumulative\t-250.50\t-250.50\t-250.50", "\tYear 1\tYear 2\tYear 3", sentence};
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
        FinancialPlan plan;
        plan.expenses[11] = 1; // a month below water: no break-even
        plan.openingCash = -25050;
        plan.firstMonth = QDate(2027, 1, 1);
        placeInDocument(c, plan);
        const QString out = QString::fromUtf8(formats::exports::encode(doc, formats::exports::Format(format), {}));
        QStringList got = out.split(QLatin1Char('\n'));
        for (const QString &line : lines)
            QVERIFY2(std::any_of(got.begin(), got.end(), [&](const QString &g) { return g.startsWith(line); }),
                     qPrintable(line + QStringLiteral("\n in \n") + out));
        QVERIFY(QString::fromUtf8(formats::exports::encode(doc, formats::exports::Format::Html, {})).contains(QLatin1String("<table")));
    }

    // At the printed page's width the type is 7 points or more, the columns sized to
    // what they hold; a year that does not fit comes in two halves.
    void layout_keepsSevenPointsAndHalvesTheYear_data()
    {
        QTest::addColumn<qint64>("amount");
        QTest::addColumn<int>("parts");
        QTest::newRow("a bakery's figures") << qint64(2420000) << 1;
        QTest::newRow("millions") << qint64(987654321) << 2;
        QTest::newRow("near a trillion") << MaxAmount - 1 << 2;
    }
    void layout_keepsSevenPointsAndHalvesTheYear()
    {
        QFETCH(qint64, amount);
        QFETCH(int, parts);
        FinancialPlan plan = bakery();
        plan.income.fill(amount);
        const QList<TablePart> layout = layoutTable(monthCells(plan, compute(plan)), true);
        QCOMPARE(layout.size(), parts);
        for (const TablePart &part : layout) {
            QVERIFY(part.points >= SmallestType);
            QCOMPARE(part.widths.size(), part.columns.size());
            qreal total = 0;
            for (const QTextLength &w : part.widths)
                total += w.rawValue();
            QVERIFY(qAbs(total - 100) < 0.01);
            QCOMPARE(part.columns.first(), 0);
        }
    }
};

QTEST_MAIN(ProjectionTest)
#include "test_projection.moc"
