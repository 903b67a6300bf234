#include "EditorFixture.h"

#include "document/PlanDocument.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

// A document saved by the editor opens in LibreOffice Writer with exactly the composed
// text. Writer is driven headless through a private profile.
class DocumentInteropTest : public QObject {
    Q_OBJECT
private slots:
    void libreOffice_readsSavedPlanAsComposedText();
};

void DocumentInteropTest::libreOffice_readsSavedPlanAsComposedText()
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    EditorRun run;
    PlanRecord &plan = run.ctx->plan;
    plan.Name = QStringLiteral("Caf\u00e9 \u201cZ\u00fcrich\u201d & Sons {Ltd} \\ 50\u20ac \u65e5\u672c \U0001F600");
    plan.Add2 = QString();
    plan.BusType = QStringLiteral("Corporation");
    plan.Where = QStringLiteral("First line\nSecond line\tafter a tab");
    plan.Info = QStringLiteral("  leading and trailing spaces  ");
    EditorPage *page = run.openEditor();
    QVERIFY(page);
    const QString rtfPath = dir.filePath(QStringLiteral("plan.rtf"));
    run.expectSaveAs(rtfPath);
    run.trigger(page, "mnuFileSaveAs");
    VERIFY_PROMPTS(run.prompts);
    QVERIFY(QFile::exists(rtfPath));

    QProcess lo;
    lo.setProgram(soffice);
    lo.setArguments({QStringLiteral("-env:UserInstallation=")
                         + QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString(),
                     QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                     QStringLiteral("txt:Text (encoded):UTF8,CRLF"), QStringLiteral("--outdir"), dir.path(), rtfPath});
    lo.start();
    QVERIFY2(lo.waitForFinished(300000), "LibreOffice did not finish");
    QFile txt(dir.filePath(QStringLiteral("plan.txt")));
    QVERIFY2(txt.open(QIODevice::ReadOnly), lo.readAllStandardError().constData());
    QString text = QString::fromUtf8(txt.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    const QString composed = composePlan(plan);
    const QStringList got = text.split(QStringLiteral("\r\n"));
    const QStringList want = composed.split(QStringLiteral("\r\n"));
    for (int i = 0; i < std::min(got.size(), want.size()); ++i)
        QVERIFY2(got[i] == want[i], qPrintable(QStringLiteral("line %1: [%2] instead of [%3]").arg(i + 1).arg(got[i], want[i])));
    QCOMPARE(text, composed);
}

QTEST_MAIN(DocumentInteropTest)
#include "test_document_interop.moc"
