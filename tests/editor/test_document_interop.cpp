#include "EditorFixture.h"

#include "plandoc/PlanDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QUrl>
#include <QXmlStreamReader>

// Documents saved by the editor open in LibreOffice Writer with exactly the composed
// text and the formatting applied on the page. Writer runs headless with a private
// profile and converts the saved file.
class DocumentInteropTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void libreOffice_readsSavedPlanAsComposedText();
    void libreOffice_showsFontAndColourAppliedInEditor();
    void libreOffice_showsQuickFormatsAndAlignment();

private:
    // Saves the editor's document through Save As; returns the file's path.
    QString save(EditorPage *page);
    // Converts the file with Writer to the given target ("txt:...", "fodt"); returns the
    // converted file's contents.
    QByteArray convert(const QString &file, const QString &target, const QString &extension);

    QString m_soffice;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<EditorRun> m_run;
};

void DocumentInteropTest::initTestCase() { m_soffice = QStandardPaths::findExecutable(QStringLiteral("soffice")); }

void DocumentInteropTest::init()
{
    if (m_soffice.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed");
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_run = std::make_unique<EditorRun>();
}

void DocumentInteropTest::cleanup()
{
    if (m_run)
        VERIFY_PROMPTS(m_run->prompts);
    m_run.reset();
    m_dir.reset();
}

QString DocumentInteropTest::save(EditorPage *page)
{
    const QString path = m_dir->filePath(QStringLiteral("plan.rtf"));
    m_run->expectSaveAs(path);
    m_run->trigger(page, "mnuFileSaveAs");
    return path;
}

QByteArray DocumentInteropTest::convert(const QString &file, const QString &target, const QString &extension)
{
    QProcess lo;
    lo.setProgram(m_soffice);
    lo.setArguments({QStringLiteral("-env:UserInstallation=")
                         + QUrl::fromLocalFile(m_dir->filePath(QStringLiteral("profile"))).toString(),
                     QStringLiteral("--headless"), QStringLiteral("--convert-to"), target, QStringLiteral("--outdir"),
                     m_dir->filePath(QStringLiteral("out")), file});
    lo.start();
    if (!lo.waitForFinished(300000))
        qWarning("LibreOffice did not finish");
    QFile out(m_dir->filePath(QStringLiteral("out/") + QFileInfo(file).completeBaseName() + QLatin1Char('.') + extension));
    if (!out.open(QIODevice::ReadOnly))
        qWarning("LibreOffice wrote nothing: %s", lo.readAllStandardError().constData());
    return out.readAll();
}

void DocumentInteropTest::libreOffice_readsSavedPlanAsComposedText()
{
    PlanRecord &plan = m_run->ctx->plan;
    plan.Name = QStringLiteral("Caf\u00e9 \u201cZ\u00fcrich\u201d & Sons {Ltd} \\ 50\u20ac \u65e5\u672c \U0001F600");
    plan.Add2 = QString();
    plan.BusType = QStringLiteral("Corporation");
    plan.Where = QStringLiteral("First line\nSecond line\tafter a tab");
    plan.Info = QStringLiteral("  leading and trailing spaces  ");
    EditorPage *page = m_run->openEditor();
    QVERIFY(page);
    const QByteArray txt = convert(save(page), QStringLiteral("txt:Text (encoded):UTF8,CRLF"), QStringLiteral("txt"));
    QString text = QString::fromUtf8(txt);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    // A paragraph mark is a line end both ways, so Writer's text, which ends every
    // paragraph with a line end, is the composed text as it is: the closing two line ends
    // are the last answer's and one empty line's.
    QVERIFY(text.endsWith(QStringLiteral("\r\n\r\n")));

    const QString composed = plandoc::composePlan(plan);
    const QStringList got = text.split(QStringLiteral("\r\n"));
    const QStringList want = composed.split(QStringLiteral("\r\n"));
    for (int i = 0; i < std::min(got.size(), want.size()); ++i)
        QVERIFY2(got[i] == want[i], qPrintable(QStringLiteral("line %1: [%2] instead of [%3]").arg(i + 1).arg(got[i], want[i])));
    QCOMPARE(got.size(), want.size());
    QCOMPARE(text, composed);
}

namespace {

// The text properties Writer gives each run of a flat ODF document, by the run's text.
QHash<QString, QXmlStreamAttributes> runProperties(const QByteArray &fodt)
{
    QHash<QString, QXmlStreamAttributes> styles;
    QHash<QString, QXmlStreamAttributes> runs;
    QXmlStreamReader xml(fodt);
    QString style, spanStyle;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("style")) {
            style = xml.attributes().value(QStringLiteral("style:name")).toString();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("text-properties") && !style.isEmpty()) {
            styles.insert(style, xml.attributes());
        } else if (xml.isStartElement() && xml.name() == QLatin1String("span")) {
            spanStyle = xml.attributes().value(QStringLiteral("text:style-name")).toString();
            runs.insert(xml.readElementText(QXmlStreamReader::IncludeChildElements), styles.value(spanStyle));
        }
    }
    return runs;
}

} // namespace

void DocumentInteropTest::libreOffice_showsFontAndColourAppliedInEditor()
{
    m_run->ctx->plan.Name = QStringLiteral("Zebra Works");
    EditorPage *page = m_run->openEditor();
    QVERIFY(page);
    QTextCursor c = page->textEdit()->textCursor();
    c.setPosition(0);
    c.setPosition(5, QTextCursor::KeepAnchor);
    page->textEdit()->setTextCursor(c);
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPointSizeF(16);
    font.setBold(true);
    font.setItalic(true);
    font.setUnderline(true);
    m_run->prompts.expectFont(font);
    m_run->trigger(page, "mnuOptionsFont");

    m_run->prompts.expectInput(Msg::FindPrompt, Msg::FindTitle, QStringLiteral("other:"));
    m_run->trigger(page, "mnuEditFind");
    m_run->prompts.expectColor(QColor(200, 0, 0));
    m_run->trigger(page, "mnuOptionsColor");

    const auto runs = runProperties(convert(save(page), QStringLiteral("fodt"), QStringLiteral("fodt")));
    const QXmlStreamAttributes zebra = runs.value(QStringLiteral("Zebra"));
    QCOMPARE(zebra.value(QStringLiteral("style:font-name")).toString(), QStringLiteral("Liberation Serif"));
    QCOMPARE(zebra.value(QStringLiteral("fo:font-size")).toString(), QStringLiteral("16pt"));
    QCOMPARE(zebra.value(QStringLiteral("fo:font-weight")).toString(), QStringLiteral("bold"));
    QCOMPARE(zebra.value(QStringLiteral("fo:font-style")).toString(), QStringLiteral("italic"));
    QCOMPARE(zebra.value(QStringLiteral("style:text-underline-style")).toString(), QStringLiteral("solid"));

    const QXmlStreamAttributes other = runs.value(QStringLiteral("Other:"));
    QCOMPARE(other.value(QStringLiteral("fo:color")).toString(), QStringLiteral("#c80000"));
    QCOMPARE(other.value(QStringLiteral("style:font-name")).toString().toLower(), QStringLiteral("arial"));
    QCOMPARE(other.value(QStringLiteral("fo:font-size")).toString(), QStringLiteral("12pt"));

    const QXmlStreamAttributes rest = runs.value(QStringLiteral(" Works"));
    QCOMPARE(rest.value(QStringLiteral("style:font-name")).toString().toLower(), QStringLiteral("arial"));
    QCOMPARE(rest.value(QStringLiteral("fo:font-size")).toString(), QStringLiteral("12pt"));
    QVERIFY(!rest.hasAttribute(QStringLiteral("fo:font-weight")));
    QVERIFY(!rest.hasAttribute(QStringLiteral("fo:color")));
}

namespace {

// The alignment Writer gives each paragraph of a flat ODF document, by its text.
QHash<QString, QString> paragraphAlignments(const QByteArray &fodt)
{
    QHash<QString, QString> styles;
    QHash<QString, QString> paragraphs;
    QXmlStreamReader xml(fodt);
    QString style;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("style")) {
            style = xml.attributes().value(QStringLiteral("style:name")).toString();
        } else if (xml.name() == QLatin1String("paragraph-properties") && !style.isEmpty()) {
            styles.insert(style, xml.attributes().value(QStringLiteral("fo:text-align")).toString());
        } else if (xml.name() == QLatin1String("p")) {
            const QString name = xml.attributes().value(QStringLiteral("text:style-name")).toString();
            paragraphs.insert(xml.readElementText(QXmlStreamReader::IncludeChildElements), styles.value(name));
        }
    }
    return paragraphs;
}

} // namespace

void DocumentInteropTest::libreOffice_showsQuickFormatsAndAlignment()
{
    EditorPage *page = m_run->openEditor();
    QVERIFY(page);
    QTextEdit *edit = page->textEdit();
    edit->setPlainText(QStringLiteral("Bold italic under plain\nCentred line\nRight line\nJustified line"));
    const struct {
        int from, to;
        const char *action;
    } steps[] = {{0, 4, "mnuOptionsBold"},     {5, 11, "mnuOptionsItalic"},    {12, 17, "mnuOptionsUnderline"},
                 {25, 25, "mnuOptionsCenter"}, {38, 38, "mnuOptionsAlignRight"}, {49, 49, "mnuOptionsJustify"}};
    for (const auto &step : steps) {
        QTextCursor c(edit->document());
        c.setPosition(step.from);
        c.setPosition(step.to, QTextCursor::KeepAnchor);
        edit->setTextCursor(c);
        m_run->trigger(page, step.action);
    }
    const QByteArray fodt = convert(save(page), QStringLiteral("fodt"), QStringLiteral("fodt"));
    const auto runs = runProperties(fodt);
    QCOMPARE(runs.value(QStringLiteral("Bold")).value(QStringLiteral("fo:font-weight")).toString(), QStringLiteral("bold"));
    QCOMPARE(runs.value(QStringLiteral("italic")).value(QStringLiteral("fo:font-style")).toString(), QStringLiteral("italic"));
    QCOMPARE(runs.value(QStringLiteral("under")).value(QStringLiteral("style:text-underline-style")).toString(),
             QStringLiteral("solid"));

    const auto aligned = paragraphAlignments(fodt);
    QCOMPARE(aligned.value(QStringLiteral("Centred line")), QStringLiteral("center"));
    QVERIFY2(QStringList({"end", "right"}).contains(aligned.value(QStringLiteral("Right line"))),
             qPrintable(aligned.value(QStringLiteral("Right line"))));
    QCOMPARE(aligned.value(QStringLiteral("Justified line")), QStringLiteral("justify"));
}

QTEST_MAIN(DocumentInteropTest)
#include "test_document_interop.moc"
