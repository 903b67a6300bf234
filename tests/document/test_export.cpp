#include "document/DocumentExport.h"
#include "document/PrintLayout.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// A document of n numbered lines in Arial 12, some words formatted.
void fillDocument(QTextDocument &doc, int lines)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(12);
    doc.setDefaultFont(f);
    QTextCursor c(&doc);
    for (int i = 1; i <= lines; ++i) {
        if (i > 1)
            c.insertBlock();
        c.insertText(QStringLiteral("Line %1 of the plan: ").arg(i));
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        bold.setForeground(QColor(200, 0, 0));
        c.insertText(QStringLiteral("answer%1").arg(i), bold);
        c.setCharFormat(QTextCharFormat());
    }
}

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

class ExportTest : public QObject {
    Q_OBJECT
private slots:
    void filtersAndExtensions();
    void layout_paginatesWithFooterOnEveryPage();
    void pdf_holdsWholeDocumentAndPageNumbers();
    void text_html_markdown_keepTextAndFormats();
    void odt_readsBackInLibreOffice();
    void failure_reportsReasonAndKeepsExistingFile();
};

void ExportTest::filtersAndExtensions()
{
    using namespace docexport;
    QCOMPARE(filters(), (QStringList{"PDF Files (*.pdf)", "OpenDocument Text (*.odt)", "Web Pages (*.html)",
                                     "Markdown Files (*.md)", "Text Files (*.txt)"}));
    QCOMPARE(formatForFilter(QStringLiteral("Markdown Files (*.md)")), Format::Markdown);
    QCOMPARE(withExtension(QStringLiteral("/t/plan"), Format::Odt), QStringLiteral("/t/plan.odt"));
    QCOMPARE(withExtension(QStringLiteral("/t/plan.v2.pdf"), Format::Text), QStringLiteral("/t/plan.v2.pdf"));
    QCOMPARE(printlayout::documentName(QString()), QStringLiteral("Business Plan"));
    QCOMPARE(printlayout::documentName(QStringLiteral("/home/u/My Plan.rtf")), QStringLiteral("My Plan.rtf"));
}

void ExportTest::layout_paginatesWithFooterOnEveryPage()
{
    // A4 with 2 cm margins holds about 45 lines of Arial 12: 126 lines need 3 pages,
    // and a short document one.
    for (auto [lines, expected] : {std::pair{10, 1}, std::pair{126, 3}}) {
        QTextDocument doc;
        fillDocument(doc, lines);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        QCOMPARE(printlayout::paint(doc, pdf, QStringLiteral("Business Plan")), expected);
    }
}

void ExportTest::pdf_holdsWholeDocumentAndPageNumbers()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QTemporaryDir dir;
    QTextDocument doc;
    fillDocument(doc, 200);
    const QString path = dir.filePath(QStringLiteral("plan.pdf"));
    QVERIFY(docexport::write(doc, docexport::Format::Pdf, path, QStringLiteral("plan.rtf")).ok);

    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    const int pages = text.count(QChar(u'\f'));
    QVERIFY2(pages >= 4, qPrintable(QString::number(pages)));
    for (int i = 1; i <= 200; ++i)
        QVERIFY2(text.contains(QStringLiteral("Line %1 of the plan: answer%1").arg(i)), qPrintable(QString::number(i)));
    for (int p = 1; p <= pages; ++p)
        QVERIFY(text.contains(QStringLiteral("Page %1 of %2").arg(p).arg(pages)));
    QCOMPARE(text.count(QStringLiteral("plan.rtf")), pages);
}

void ExportTest::text_html_markdown_keepTextAndFormats()
{
    QTemporaryDir dir;
    QTextDocument doc;
    fillDocument(doc, 3);

    const QString txt = dir.filePath(QStringLiteral("plan"));
    const QString txtName = docexport::withExtension(txt, docexport::Format::Text);
    QVERIFY(docexport::write(doc, docexport::Format::Text, txtName, {}).ok);
    QCOMPARE(readAll(txtName), doc.toPlainText());

    const QString html = dir.filePath(QStringLiteral("plan.html"));
    QVERIFY(docexport::write(doc, docexport::Format::Html, html, {}).ok);
    const QString htmlText = readAll(html);
    QVERIFY(htmlText.contains(QStringLiteral("font-weight:700")));
    QVERIFY(htmlText.contains(QStringLiteral("#c80000")));
    QVERIFY(htmlText.contains(QStringLiteral("Line 3 of the plan")));

    const QString md = dir.filePath(QStringLiteral("plan.md"));
    QVERIFY(docexport::write(doc, docexport::Format::Markdown, md, {}).ok);
    QVERIFY(readAll(md).contains(QStringLiteral("**answer2**")));
}

void ExportTest::odt_readsBackInLibreOffice()
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        QSKIP("LibreOffice is not installed");
    QTemporaryDir dir;
    QTextDocument doc;
    fillDocument(doc, 20);
    const QString odt = dir.filePath(QStringLiteral("plan.odt"));
    QVERIFY(docexport::write(doc, docexport::Format::Odt, odt, {}).ok);

    run(soffice, {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                  QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("txt:Text (encoded):UTF8"),
                  QStringLiteral("--outdir"), dir.filePath(QStringLiteral("out")), odt});
    QString text = readAll(dir.filePath(QStringLiteral("out/plan.txt")));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QCOMPARE(text.trimmed(), doc.toPlainText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')));
}

void ExportTest::failure_reportsReasonAndKeepsExistingFile()
{
    QTemporaryDir dir;
    QTextDocument doc;
    fillDocument(doc, 2);
    const auto missing = docexport::write(doc, docexport::Format::Text, dir.filePath(QStringLiteral("no/such/plan.txt")), {});
    QVERIFY(!missing.ok);
    QVERIFY(!missing.error.isEmpty());
    const auto folder = docexport::write(doc, docexport::Format::Html, dir.path(), {});
    QVERIFY(!folder.ok);

    // A file in a folder that cannot be written keeps its old content.
    const QString existing = dir.filePath(QStringLiteral("ro/plan.txt"));
    QDir().mkpath(dir.filePath(QStringLiteral("ro")));
    QFile f(existing);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("old content");
    f.close();
    QFile::setPermissions(dir.filePath(QStringLiteral("ro")), QFile::ReadOwner | QFile::ExeOwner);
    const auto denied = docexport::write(doc, docexport::Format::Text, existing, {});
    QFile::setPermissions(dir.filePath(QStringLiteral("ro")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (denied.ok)
        QSKIP("running with rights that ignore folder permissions");
    QCOMPARE(readAll(existing), QStringLiteral("old content"));
}

QTEST_MAIN(ExportTest)
#include "test_export.moc"
