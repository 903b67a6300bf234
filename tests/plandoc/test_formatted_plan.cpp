#include "plandoc/FinancialPlan.h"
#include "plandoc/FormattedPlan.h"
#include "plandoc/PlanSections.h"
#include "formats/DocumentExport.h"
#include "formats/DocumentStructure.h"
#include "plan/PlanHints.h"
#include "plan/PlanRecord.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <functional>
#include <optional>

namespace {

const QDate Today(2026, 12, 8);

QString pdfText(const QString &path, int page)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                                          QStringLiteral("-l"), QString::number(page), path, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class FormattedPlanTest : public QObject {
    Q_OBJECT
private slots:
    void unanswered_isLeftOut_data();
    void unanswered_isLeftOut();
    void example_hasItsStructure_data();
    void example_hasItsStructure();
    void contents_namesThePagesOfThePdf();
    void headings_surviveTheExports_data();
    void headings_surviveTheExports();
    void sections_eachKindOnceWrittenByItsWay();
};

// The unanswered value a field is given: its text, or its number prefix (n from 1) when
// the field is numbered, or nothing to keep its initial value.
using Blank = std::function<std::optional<QString>(const QString &field, int n)>;

void FormattedPlanTest::unanswered_isLeftOut_data()
{
    QTest::addColumn<Blank>("blank");
    QTest::newRow("initial values") << Blank([](const QString &, int) { return std::nullopt; });
    QTest::newRow("saved empty") << Blank([](const QString &, int) { return QString(); });
    QTest::newRow("only spaces") << Blank([](const QString &, int) { return QStringLiteral("   "); });
    QTest::newRow("numbered with nothing after") << Blank([](const QString &, int n) -> std::optional<QString> {
        return n ? std::optional(goalPrefix(n)) : std::nullopt;
    });
    QTest::newRow("http:// alone") << Blank([](const QString &field, int) -> std::optional<QString> {
        return field == u"URL" ? std::optional(QStringLiteral("http://")) : std::nullopt;
    });
}

void FormattedPlanTest::unanswered_isLeftOut()
{
    QFETCH(Blank, blank);
    PlanRecord plan;
    for (const PlanField &f : planFields()) {
        const QRegularExpressionMatch number = QRegularExpression(QStringLiteral("(\\d+)$")).match(f.name);
        const bool name = f.name.startsWith(u"BusSTG") || f.name.startsWith(u"BusLTG") || f.name.startsWith(u"Emp")
            || f.name.startsWith(u"ProdServ");
        if (const auto value = blank(f.name, name ? number.captured(1).toInt() : 0))
            f.set(plan, *value);
    }
    QTextDocument doc;
    plandoc::formattedplan::compose(doc, plan, Today);
    const QString text = doc.toPlainText();
    QCOMPARE(text.count(QStringLiteral("To be completed.")), 10);
    for (const char *never : {"(blank)", "http://", ":", "Product or Service"})
        QVERIFY2(!text.contains(QLatin1String(never)), never);
    QCOMPARE(doc.metaInformation(QTextDocument::DocumentTitle), QStringLiteral("Business Plan"));
}

void FormattedPlanTest::example_hasItsStructure_data()
{
    QTest::addColumn<bool>("loan");
    QTest::newRow("no amount requested") << false;
    QTest::newRow("a loan: the funding request comes second") << true;
}

void FormattedPlanTest::example_hasItsStructure()
{
    QFETCH(bool, loan);
    QTextDocument doc;
    const PlanRecord plan = examplePlan();
    plandoc::finance::FinancialPlan money;
    plandoc::finance::refreshFromAnswers(money, plan.YrIncome, plan.MoExpenses, Today, QStringLiteral("$"));
    money.funding.requested = loan ? 3000000 : 0;
    plandoc::formattedplan::compose(doc, plan, money, Today);
    QVERIFY(formats::isTitle(doc.begin().blockFormat()));
    QCOMPARE(doc.begin().text(), plan.Name);
    QCOMPARE(doc.metaInformation(QTextDocument::DocumentTitle), plan.Name + QStringLiteral(" - Business Plan"));
    QStringList headings[3];
    int contents = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        headings[qBound(0, b.blockFormat().headingLevel(), 2)] << b.text();
        contents += formats::contentsLevel(b.blockFormat()) > 0;
    }
    QCOMPARE(headings[1].size(), loan ? 11 : 10);
    QCOMPARE(headings[1].first(), QStringLiteral("1. Executive Summary"));
    QCOMPARE(headings[1].at(1), loan ? QStringLiteral("2. Funding Request") : QStringLiteral("2. The Business"));
    QCOMPARE(headings[1].last(), loan ? QStringLiteral("11. Other Information") : QStringLiteral("10. Other Information"));
    QCOMPARE(headings[2].size(), 5); // one per product
    QCOMPARE(headings[2].first(), QStringLiteral("Hearth breads"));
    QCOMPARE(contents, loan ? 16 : 15);
    const QString text = doc.toPlainText();
    QVERIFY(text.contains(QStringLiteral("December 2026")));
    // Goals are a numbered list, without the stored "1.  " doubled.
    QVERIFY(!text.contains(QStringLiteral("1.  ")));
    QVERIFY(doc.findBlock(int(text.indexOf(plan.BusSTG[1].mid(4)))).textList());
}

void FormattedPlanTest::contents_namesThePagesOfThePdf()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QTextDocument doc;
    plandoc::formattedplan::compose(doc, examplePlan(), Today);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.pdf"));
    QVERIFY(formats::exports::writeFile(doc, formats::exports::Format::Pdf, path, QStringLiteral("Plan")).ok);

    // Every contents line ends in the page on which its heading stands.
    const QString contentsPage = pdfText(path, 2);
    QVERIFY(!pdfText(path, 1).contains(QStringLiteral("Page 1 of"))); // the cover has no footer
    int checked = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (formats::contentsLevel(b.blockFormat()) == 0)
            continue;
        const QString entry = b.text().section(QLatin1Char('\t'), 0, 0);
        const QRegularExpression line(QRegularExpression::escape(entry) + QStringLiteral(" +(\\d+)\\n"));
        const QRegularExpressionMatch m = line.match(contentsPage);
        QVERIFY2(m.hasMatch(), qPrintable(entry));
        const QRegularExpression heading(QStringLiteral("(^|\\n)") + QRegularExpression::escape(entry) + "\\n");
        QVERIFY2(heading.match(pdfText(path, m.captured(1).toInt())).hasMatch(), qPrintable(entry));
        ++checked;
    }
    QCOMPARE(checked, 15);
}

void FormattedPlanTest::headings_surviveTheExports_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QStringList>("expected");
    const QString name = examplePlan().Name;
    QTest::newRow("html") << int(formats::exports::Format::Html)
                          << QStringList{"<title>" + name.toHtmlEscaped() + " - Business Plan</title>",
                                         ">1. Executive Summary</span></h1>", ">Hearth breads</span></h2>"};
    QTest::newRow("markdown") << int(formats::exports::Format::Markdown)
                              << QStringList{"\n# 1. Executive Summary\n", "\n## Hearth breads\n"};
    QTest::newRow("text") << int(formats::exports::Format::Text)
                          << QStringList{"\n1. Executive Summary\n", "\nHearth breads\n"};
}

void FormattedPlanTest::headings_surviveTheExports()
{
    QFETCH(int, format);
    QFETCH(QStringList, expected);
    QTextDocument doc;
    plandoc::formattedplan::compose(doc, examplePlan(), Today);
    QString out = QString::fromUtf8(formats::exports::encode(doc, formats::exports::Format(format), QStringLiteral("x")));
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (const QString &e : expected)
        QVERIFY2(out.contains(e), qPrintable(e));
}

// Writing and reading back both dispatch on the kind: each kind once, and a section of
// lead-ins (the default way) has some, the others none.
void FormattedPlanTest::sections_eachKindOnceWrittenByItsWay()
{
    using plandoc::formattedplan::SectionKind;
    const QList<SectionKind> ownWay = {SectionKind::Summary, SectionKind::Funding, SectionKind::Goals,
                                       SectionKind::Staff, SectionKind::Products, SectionKind::Other};
    QList<SectionKind> seen;
    for (const auto &section : plandoc::formattedplan::sections()) {
        QVERIFY2(!seen.contains(section.kind), qPrintable(section.title));
        seen << section.kind;
        QCOMPARE(section.leadIns.empty(), ownWay.contains(section.kind));
    }
    const auto &goals = plandoc::formattedplan::sections()[3];
    QCOMPARE(plandoc::formattedplan::sectionHeading(3, goals), QStringLiteral("3. Goals"));
    QVERIFY(plandoc::formattedplan::isSectionHeading(QStringLiteral("4. Goals"), goals));
    QVERIFY(!plandoc::formattedplan::isSectionHeading(QStringLiteral("4. Goals	5"), goals));
}

QTEST_MAIN(FormattedPlanTest)
#include "test_formatted_plan.moc"
