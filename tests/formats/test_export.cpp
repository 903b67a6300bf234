#include "app/Prompts.h"
#include "formats/DocumentExport.h"
#include "formats/PrintLayout.h"
#include "formats/SafeWrite.h"
#include "support/FileSizeLimit.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <cerrno>

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

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

QString reasonFor(int error) { return qt_error_string(error); }

// Sets an environment variable for as long as it lives.
struct EnvVar {
    QByteArray name, old;
    bool had;
    EnvVar(const char *n, const QByteArray &value) : name(n), old(qgetenv(n)), had(qEnvironmentVariableIsSet(n))
    {
        qputenv(n, value);
    }
    ~EnvVar() { had ? qputenv(name.constData(), old) : qunsetenv(name.constData()); }
};

} // namespace

class ExportTest : public QObject {
    Q_OBJECT
private slots:
    void filtersAndExtensions();
    void formatForName_data();
    void formatForName();
    void defaultPdfPath_data();
    void defaultPdfPath();
    void saveDialog_titleAndExtensionFollowFilter();
    void layout_paginatesWithFooterOnEveryPage();
    void pdf_drawsEveryLineOnceWithPageNumbers_data();
    void pdf_drawsEveryLineOnceWithPageNumbers();
    void text_html_markdown_keepTextAndFormats();
    void markdown_keepsEmphasisAgainstWords();
    void odt_readsBackInLibreOffice();
    void failure_reportsReasonAndKeepsExistingFile();
    void safeWrite_fileSizeLimit_data();
    void safeWrite_fileSizeLimit();
    void export_fileSizeLimit_keepsOldFile_data();
    void export_fileSizeLimit_keepsOldFile();
};

void ExportTest::filtersAndExtensions()
{
    using namespace formats::exports;
    QCOMPARE(filters(), (QStringList{"PDF Files (*.pdf)", "Word Document (*.docx)", "OpenDocument Text (*.odt)",
                                     "Web Pages (*.html)", "Markdown Files (*.md)", "Text Files (*.txt)"}));
    QCOMPARE(suffixes(), (QStringList{"pdf", "docx", "odt", "html", "md", "txt"}));
    QCOMPARE(formatForFilter(QStringLiteral("Markdown Files (*.md)")), Format::Markdown);
    QCOMPARE(withExtension(QStringLiteral("/t/plan"), Format::Odt), QStringLiteral("/t/plan.odt"));
    QCOMPARE(withExtension(QStringLiteral("/t/plan.v2.pdf"), Format::Text), QStringLiteral("/t/plan.v2.pdf"));
    // As the file dialog does: any dot in the name, none in the folder, counts.
    QCOMPARE(withExtension(QStringLiteral("/t/plan."), Format::Pdf), QStringLiteral("/t/plan."));
    QCOMPARE(withExtension(QStringLiteral("/t.d/plan"), Format::Pdf), QStringLiteral("/t.d/plan.pdf"));
    QCOMPARE(formats::printlayout::documentName(QString()), QStringLiteral("Business Plan"));
    QCOMPARE(formats::printlayout::documentName(QStringLiteral("/home/u/My Plan.rtf")), QStringLiteral("My Plan.rtf"));
}

void ExportTest::formatForName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("format"); // -1: none
    using F = formats::exports::Format;
    QTest::newRow("pdf") << "/t/a.pdf" << int(F::Pdf);
    QTest::newRow("odt") << "/t/a.odt" << int(F::Odt);
    QTest::newRow("docx, any case") << "/t/a.DocX" << int(F::Docx);
    QTest::newRow("html") << "/t/a.html" << int(F::Html);
    QTest::newRow("htm") << "/t/a.htm" << int(F::Html);
    QTest::newRow("md") << "/t/a.md" << int(F::Markdown);
    QTest::newRow("txt") << "/t/report.txt" << int(F::Text);
    QTest::newRow("upper case") << "/t/REPORT.TXT" << int(F::Text);
    QTest::newRow("last extension counts") << "/t/plan.pdf.md" << int(F::Markdown);
    QTest::newRow("none") << "/t/plan" << -1;
    QTest::newRow("unknown") << "/t/plan.v2" << -1;
    QTest::newRow("rtf is not exported") << "/t/plan.rtf" << -1;
    QTest::newRow("dot in folder only") << "/t/x.txt/plan" << -1;
}

void ExportTest::formatForName()
{
    QFETCH(QString, name);
    QFETCH(int, format);
    const auto found = formats::exports::formatForName(name);
    QCOMPARE(found ? int(*found) : -1, format);
}

void ExportTest::defaultPdfPath_data()
{
    QTest::addColumn<QString>("file"); // relative to the home folder; empty: none
    QTest::addColumn<bool>("documents"); // a Documents folder exists
    QTest::addColumn<QString>("expected");
    QTest::newRow("beside the file") << "work/plan.rtf" << true << "work/plan.pdf";
    QTest::newRow("beside a file without extension") << "work/plan" << false << "work/plan.pdf";
    QTest::newRow("no file: Documents") << "" << true << "Documents/Business Plan.pdf";
    QTest::newRow("no file, no Documents: home") << "" << false << "Business Plan.pdf";
}

void ExportTest::defaultPdfPath()
{
    QFETCH(QString, file);
    QFETCH(bool, documents);
    QFETCH(QString, expected);
    QTemporaryDir home;
    const EnvVar homeVar("HOME", QFile::encodeName(home.path()));
    const EnvVar config("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
    if (documents)
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Documents")));
    const QString current = file.isEmpty() ? QString() : home.filePath(file);
    QCOMPARE(formats::printlayout::defaultPdfPath(current), home.filePath(expected));
}

void ExportTest::saveDialog_titleAndExtensionFollowFilter()
{
    // The real dialog: its question about an existing file concerns the name it
    // returns, so that name must carry the extension of the chosen filter.
    QTemporaryDir dir;
    QtPrompts prompts;
    FileDialogRequest request;
    request.title = QStringLiteral("Export");
    request.filters = formats::exports::filters();
    request.suffixes = formats::exports::suffixes();
    request.selectedFilter = request.filters.first();
    request.fileName = dir.filePath(QStringLiteral("Business Plan"));
    QString title, firstSuffix, laterSuffix;
    QTimer::singleShot(0, this, [&] {
        QFileDialog *dialog = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *d = qobject_cast<QFileDialog *>(w); d && d->isVisible())
                dialog = d;
        if (!dialog)
            return;
        title = dialog->windowTitle();
        firstSuffix = dialog->defaultSuffix();
        auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!types || !name) {
            dialog->reject();
            return;
        }
        // As the user chooses: three steps down the list, to the web page filter.
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(types, Qt::Key_Down);
        laterSuffix = dialog->defaultSuffix();
        name->setText(QStringLiteral("plan"));
        static_cast<QDialog *>(dialog)->accept(); // the dialog's own checks run
    });
    const auto chosen = prompts.saveFile(request);
    QCOMPARE(title, QStringLiteral("Export"));
    QCOMPARE(firstSuffix, QStringLiteral("pdf"));
    QCOMPARE(laterSuffix, QStringLiteral("html"));
    QVERIFY(chosen);
    QCOMPARE(chosen->fileName, dir.filePath(QStringLiteral("plan.html")));
    QCOMPARE(chosen->selectedFilter, QStringLiteral("Web Pages (*.html)"));
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
        QCOMPARE(formats::printlayout::paint(doc, pdf, QStringLiteral("Business Plan")), expected);
    }
}

void ExportTest::pdf_drawsEveryLineOnceWithPageNumbers_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("pointSize");
    QTest::newRow("200 lines, 12 pt") << 200 << 12;
    QTest::newRow("300 lines, 10 pt") << 300 << 10;
    QTest::newRow("120 lines, 17 pt") << 120 << 17;
}

void ExportTest::pdf_drawsEveryLineOnceWithPageNumbers()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QFETCH(int, lines);
    QFETCH(int, pointSize);
    QTemporaryDir dir;
    QTextDocument doc;
    fillDocument(doc, lines);
    QTextCursor all(&doc);
    all.select(QTextCursor::Document);
    QTextCharFormat size;
    size.setFontPointSize(pointSize);
    all.mergeCharFormat(size);
    const QString path = dir.filePath(QStringLiteral("plan.pdf"));
    QVERIFY(formats::exports::writeFile(doc, formats::exports::Format::Pdf, path, QStringLiteral("plan.rtf")).ok);

    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    const int pages = int(text.count(QChar(u'\f')));
    QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
    // A line at a page break is drawn on one page only, not clipped on both.
    for (int i = 1; i <= lines; ++i)
        QVERIFY2(text.count(QStringLiteral("Line %1 of the plan: answer%1\n").arg(i)) == 1, qPrintable(QString::number(i)));
    for (int p = 1; p <= pages; ++p)
        QVERIFY(text.contains(QStringLiteral("Page %1 of %2").arg(p).arg(pages)));
    QCOMPARE(int(text.count(QStringLiteral("plan.rtf"))), pages);
}

void ExportTest::text_html_markdown_keepTextAndFormats()
{
    QTemporaryDir dir;
    QTextDocument doc;
    fillDocument(doc, 3);

    const QString txt = dir.filePath(QStringLiteral("plan"));
    const QString txtName = formats::exports::withExtension(txt, formats::exports::Format::Text);
    QVERIFY(formats::exports::writeFile(doc, formats::exports::Format::Text, txtName, {}).ok);
    QCOMPARE(readAll(txtName), doc.toPlainText());

    const QString html = dir.filePath(QStringLiteral("plan.html"));
    QVERIFY(formats::exports::writeFile(doc, formats::exports::Format::Html, html, {}).ok);
    const QString htmlText = readAll(html);
    QVERIFY(htmlText.contains(QStringLiteral("font-weight:700")));
    QVERIFY(htmlText.contains(QStringLiteral("#c80000")));
    QVERIFY(htmlText.contains(QStringLiteral("Line 3 of the plan")));

    const QString md = dir.filePath(QStringLiteral("plan.md"));
    QVERIFY(formats::exports::writeFile(doc, formats::exports::Format::Markdown, md, {}).ok);
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
    QVERIFY(formats::exports::writeFile(doc, formats::exports::Format::Odt, odt, {}).ok);

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
    const auto missing = formats::exports::writeFile(doc, formats::exports::Format::Text, dir.filePath(QStringLiteral("no/such/plan.txt")), {});
    QVERIFY(!missing.ok);
    QVERIFY(!missing.error.isEmpty());
    const auto folder = formats::exports::writeFile(doc, formats::exports::Format::Html, dir.path(), {});
    QVERIFY(!folder.ok);

    // A file in a folder that cannot be written keeps its old content.
    const QString existing = dir.filePath(QStringLiteral("ro/plan.txt"));
    QDir().mkpath(dir.filePath(QStringLiteral("ro")));
    QFile f(existing);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("old content");
    f.close();
    QFile::setPermissions(dir.filePath(QStringLiteral("ro")), QFile::ReadOwner | QFile::ExeOwner);
    const auto denied = formats::exports::writeFile(doc, formats::exports::Format::Text, existing, {});
    QFile::setPermissions(dir.filePath(QStringLiteral("ro")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (denied.ok)
        QSKIP("running with rights that ignore folder permissions");
    QCOMPARE(readAll(existing), QStringLiteral("old content"));
}

void ExportTest::markdown_keepsEmphasisAgainstWords()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat bold, italic, both, plain;
    bold.setFontWeight(QFont::Bold);
    italic.setFontItalic(true);
    both.setFontWeight(QFont::Bold);
    both.setFontItalic(true);
    c.insertText(QStringLiteral("Our "), plain);
    c.insertText(QStringLiteral("bold words "), bold);
    c.insertText(QStringLiteral("and"), plain);
    c.insertText(QStringLiteral(" italic "), italic);
    c.insertText(QStringLiteral("then "), plain);
    c.insertText(QStringLiteral("both  "), both);
    c.insertText(QStringLiteral("end"), plain);
    const QString screen = doc.toPlainText();

    QTemporaryDir dir;
    const QString md = dir.filePath(QStringLiteral("plan.md"));
    QVERIFY(formats::exports::writeFile(doc, formats::exports::Format::Markdown, md, {}).ok);
    const QString text = readAll(md).trimmed();
    QCOMPARE(text, QStringLiteral("Our **bold words** and *italic* then ***both***  end"));
    if (!QStandardPaths::findExecutable(QStringLiteral("pandoc")).isEmpty()) {
        const QString html = run(QStringLiteral("pandoc"), {QStringLiteral("-f"), QStringLiteral("gfm"), md});
        QVERIFY2(html.simplified().contains(QStringLiteral("<strong>bold words</strong> and <em>italic</em> then "
                                              "<em><strong>both</strong></em> end")),
                 qPrintable(html));
    }
    // The exported copy is made from a copy: the page's document keeps its spaces' format.
    QCOMPARE(doc.toPlainText(), screen);
    QTextCursor at(&doc);
    at.setPosition(15);
    QCOMPARE(at.charFormat().fontWeight(), int(QFont::Bold));
}

void ExportTest::safeWrite_fileSizeLimit_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("limit");
    QTest::newRow("small file, cut in the final flush") << 5000 << 1024;
    QTest::newRow("large file, cut while writing") << 300000 << 65536;
    QTest::newRow("nothing fits") << 5000 << 0;
    QTest::newRow("exactly fits") << 5000 << 5000;
}

void ExportTest::safeWrite_fileSizeLimit()
{
    // No signal handling of the test's own: the helper must not let SIGXFSZ end the program.
    QFETCH(int, size);
    QFETCH(int, limit);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.rtf"));
    const QByteArray old(600, 'o');
    QVERIFY(writeBytes(path, old));
    const QByteArray data(size, 'n');
    formats::Result result;
    {
        const FileSizeLimit cap(rlim_t(limit), false);
        QVERIFY(cap.active());
        result = formats::writeFileSafely(path, data);
    }
    QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("plan.rtf")});
    if (size <= limit) {
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(readBytes(path), data);
        return;
    }
    QVERIFY(!result.ok);
    QCOMPARE(result.error, reasonFor(EFBIG));
    QCOMPARE(readBytes(path), old);
}

void ExportTest::export_fileSizeLimit_keepsOldFile_data()
{
    QTest::addColumn<formats::exports::Format>("format");
    using F = formats::exports::Format;
    for (F f : {F::Pdf, F::Docx, F::Odt, F::Html, F::Markdown, F::Text})
        QTest::addRow("%s", qPrintable(formats::exports::suffixes().at(int(f)))) << f;
}

void ExportTest::export_fileSizeLimit_keepsOldFile()
{
    QFETCH(formats::exports::Format, format);
    QTemporaryDir dir;
    QTextDocument doc;
    fillDocument(doc, 200);
    const QString name = formats::exports::withExtension(QStringLiteral("plan"), format);
    const QString path = dir.filePath(name);
    const QByteArray old("the last good copy\n");
    QVERIFY(writeBytes(path, old));
    QVERIFY(formats::exports::encode(doc, format, {}).size() > 2048);
    formats::Result result;
    {
        const FileSizeLimit cap(2048);
        QVERIFY(cap.active());
        result = formats::exports::writeFile(doc, format, path, {});
    }
    QVERIFY(!result.ok);
    QCOMPARE(result.error, reasonFor(EFBIG));
    QCOMPARE(readBytes(path), old);
    QCOMPARE(filesIn(dir.path()), QStringList{name});
}

QTEST_MAIN(ExportTest)
#include "test_export.moc"
