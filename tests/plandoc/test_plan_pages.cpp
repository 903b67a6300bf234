// The formatted plan in the files an owner sends: the contents stored in the Word and
// OpenDocument files name the pages the headings stand on, in our PDF and as LibreOffice
// lays those files out; and a plan saved as RTF reopens with its contents as they were.

#include "formats/DocumentExport.h"
#include "formats/DocumentStructure.h"
#include "formats/office/Zip.h"
#include "formats/rtf/Rtf.h"
#include "plan/PlanHints.h"
#include "plan/PlanRecord.h"
#include "plandoc/FinancialPlan.h"
#include "plandoc/FormattedPlan.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

using formats::exports::Format;
using Contents = QList<std::pair<QString, int>>;

namespace {

const QDate Today(2026, 12, 8);

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(180000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The example, or one whose prose answers are three times as long and whose "Other
// information" runs over pages.
PlanRecord plan(bool longer)
{
    PlanRecord p = examplePlan();
    if (!longer)
        return p;
    for (QString *answer : {&p.Idea, &p.People, &p.Market, &p.Where, &p.Differ, &p.Plans, &p.Expenses, &p.Sell})
        *answer = QStringList(3, *answer).join(QLatin1Char(' '));
    for (int i = 0; i < 90; ++i)
        p.Info += QStringLiteral("We review the plan with our mentor each season, item %1 of our records.\n").arg(i + 1);
    return p;
}

// The figures as step 11 gives them; for the example with a loan too, so that the funding
// request's table stands among the first sections.
plandoc::finance::FinancialPlan money(const PlanRecord &p, bool loan)
{
    plandoc::finance::FinancialPlan m;
    plandoc::finance::refreshFromAnswers(m, p.YrIncome, p.MoExpenses, Today, QStringLiteral("$"));
    if (loan) { // the bakery's second oven
        m.funding = {3750000, 5, 850, 1, QStringLiteral("to buy a second deck oven and a proofing cabinet"),
                     {{QStringLiteral("Deck oven"), 3200000}, {QStringLiteral("Proofing cabinet"), 550000},
                      {QStringLiteral("Working capital"), 500000}},
                     500000, {}};
        m.openingCash = 200000;
    }
    return m;
}

// The contents as the file stores them, each entry's text and page: Word's paragraphs of
// the TOC styles, OpenDocument's paragraphs of the index body.
Contents storedContents(const QByteArray &file, Format format)
{
    const bool word = format == Format::Docx;
    formats::office::zip::Archive zip;
    QByteArray xml;
    if (!zip.open(file).ok || !zip.read(word ? QStringLiteral("word/document.xml") : QStringLiteral("content.xml"), 1 << 24, xml).ok)
        return {};
    QString body = QString::fromUtf8(xml);
    if (!word)
        body = body.section(QStringLiteral("<text:index-body>"), 1).section(QStringLiteral("</text:index-body>"), 0, 0);
    static const QRegularExpression entry(QStringLiteral("<w:pStyle w:val=\"TOC\\d\"/>(.*?)</w:p>|<text:p [^>]*>(.*?)</text:p>"));
    static const QRegularExpression tab(QStringLiteral("<(w|text):tab/>"));
    static const QRegularExpression hidden(QStringLiteral("<w:instrText.*?</w:instrText>|<[^>]*>"));
    Contents out;
    for (const QRegularExpressionMatch &m : entry.globalMatch(body)) {
        QString line = m.captured(word ? 1 : 2).replace(tab, QStringLiteral("\t")).remove(hidden);
        line.replace(QLatin1String("&amp;"), QLatin1String("&"));
        out.push_back({line.section(QLatin1Char('\t'), 0, 0), line.section(QLatin1Char('\t'), -1).toInt()});
    }
    return out;
}

// The pages each entry's heading stands on in a PDF: the first line after the contents
// that reads just the entry. Lines above the top margin are left out: pdftotext also
// finds what a page clips.
Contents headingPages(const QString &pdf, const Contents &entries)
{
    const QStringList pages = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-y"), QStringLiteral("50"),
                                                               QStringLiteral("-W"), QStringLiteral("1000"), QStringLiteral("-H"), QStringLiteral("1000"), pdf, QStringLiteral("-")})
                                  .split(QLatin1Char('\f'));
    Contents out;
    int page = 2; // after the contents
    for (const auto &e : entries) {
        const QRegularExpression heading(QStringLiteral("(^|\n) *%1 *(\n|$)").arg(QRegularExpression::escape(e.first)));
        while (page < pages.size() && !heading.match(pages[page]).hasMatch())
            ++page;
        out.push_back({e.first, page + 1});
    }
    return out;
}

} // namespace

class PlanPagesTest : public QObject {
    Q_OBJECT
private slots:
    void contents_nameThePagesInEveryFile_data();
    void contents_nameThePagesInEveryFile();
    void savedAsRtf_reopensWithItsContents();
};

void PlanPagesTest::contents_nameThePagesInEveryFile_data()
{
    QTest::addColumn<bool>("longer");
    QTest::addColumn<QPageSize>("page");
    QTest::newRow("example and a loan, A4") << false << QPageSize(QPageSize::A4);
    QTest::newRow("example and a loan, Letter") << false << QPageSize(QPageSize::Letter);
    QTest::newRow("long answers, A4") << true << QPageSize(QPageSize::A4);
    QTest::newRow("long answers, Letter") << true << QPageSize(QPageSize::Letter);
}

void PlanPagesTest::contents_nameThePagesInEveryFile()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QFETCH(bool, longer);
    QFETCH(QPageSize, page);
    QTextDocument doc;
    plandoc::formattedplan::compose(doc, plan(longer), money(plan(longer), !longer), Today);
    const QString name = plandoc::formattedplan::documentTitle(plan(longer));
    QTemporaryDir dir;
    QStringList files;
    for (const auto &[format, file] : {std::pair{Format::Pdf, "ours.pdf"}, {Format::Docx, "word.docx"}, {Format::Odt, "odf.odt"}}) {
        files << dir.filePath(QLatin1String(file));
        QVERIFY(formats::exports::writeFile(doc, format, files.last(), name, page).ok);
    }
    QFile docx(files[1]), odt(files[2]);
    QVERIFY(docx.open(QIODevice::ReadOnly) && odt.open(QIODevice::ReadOnly));
    const Contents word = storedContents(docx.readAll(), Format::Docx);
    QCOMPARE(word.size(), longer ? 15 : 16);
    QCOMPARE(storedContents(odt.readAll(), Format::Odt), word);
    QCOMPARE(headingPages(files[0], word), word);

    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        QSKIP("LibreOffice is not installed");
    run(soffice, {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                  QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"),
                  dir.path(), files[1], files[2]});
    for (const char *pdf : {"word.pdf", "odf.pdf"}) {
        QCOMPARE(headingPages(dir.filePath(QLatin1String(pdf)), word), word);
        // The business names the plan in the footer, and no label of the 12-month table
        // breaks inside its cell.
        const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), dir.filePath(QLatin1String(pdf)), QStringLiteral("-")});
        for (const QString &words : {name + QStringLiteral(" "), QStringLiteral("Expenses"),
                                    longer ? QStringLiteral("Cumulative") : QStringLiteral("Purchases")})
            QVERIFY2(text.contains(words), qPrintable(words));
    }
}

// Saved and opened again, the plan saves again to the very same bytes and prints its
// contents as before (the stops and indents themselves: test_rtf_structure).
void PlanPagesTest::savedAsRtf_reopensWithItsContents()
{
    QTextDocument doc;
    plandoc::formattedplan::compose(doc, examplePlan(), Today);
    const QByteArray saved = formats::rtf::write(doc);
    QTextDocument reopened;
    QVERIFY(formats::rtf::read(saved, reopened).ok);
    QCOMPARE(formats::rtf::write(reopened), saved);
    // Printed, every entry has its page at the margin, and the products stand in.
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("plan.pdf"));
    QVERIFY(formats::exports::writeFile(reopened, Format::Pdf, pdf, QStringLiteral("Plan")).ok);
    const QString contents = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), QStringLiteral("2"),
                                                              QStringLiteral("-l"), QStringLiteral("2"), pdf, QStringLiteral("-")});
    QSet<qsizetype> ends;
    int indented = 0;
    for (const QString &l : contents.split(QLatin1Char('\n'))) {
        if (!l.contains(QRegularExpression(QStringLiteral("  \\d+$"))))
            continue;
        ends << l.size();
        indented += l.startsWith(QLatin1String("   "));
    }
    QCOMPARE(ends.size(), 1);
    QCOMPARE(indented, 5);
}

QTEST_MAIN(PlanPagesTest)
#include "test_plan_pages.moc"
