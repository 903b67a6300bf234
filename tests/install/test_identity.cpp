#include "QuorvaneVersion.h"
#include "app/Identity.h"
#include "app/PageIds.h"
#include "support/TestSupport.h"

#include <QGuiApplication>
#include <QIcon>
#include <QProcess>

class IdentityTest : public QObject {
    Q_OBJECT
private slots:
    void toolVersion_printsTheProjectVersion();
    void toolArguments_otherThanOneFile_printUsage_data();
    void toolArguments_otherThanOneFile_printUsage();
    void toolOutput_thatCannotBeWritten_failsWithAMessage_data();
    void toolOutput_thatCannotBeWritten_failsWithAMessage();
    void applicationIcon_hasEveryInstalledSize();
    void everyPage_showsTheApplicationIcon_data();
    void everyPage_showsTheApplicationIcon();
};

namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray out, err;
};

ToolRun runTool(const QStringList &args, const QString &outputFile = {})
{
    QProcess p;
    if (!outputFile.isEmpty())
        p.setStandardOutputFile(outputFile);
    p.start(QStringLiteral(QUORVANE_RTF_TO_TEXT), args);
    if (!p.waitForFinished(30000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

} // namespace

void IdentityTest::toolVersion_printsTheProjectVersion()
{
    const ToolRun run = runTool({QStringLiteral("--version")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray("quorvane-rtf-to-text " QUORVANE_VERSION "\n"));
    QVERIFY(run.err.isEmpty());
}

void IdentityTest::toolArguments_otherThanOneFile_printUsage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("none") << QStringList();
    QTest::newRow("two files") << QStringList{QStringLiteral("a.rtf"), QStringLiteral("b.rtf")};
    QTest::newRow("version and a file") << QStringList{QStringLiteral("--version"), QStringLiteral("a.rtf")};
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--help")};
    QTest::newRow("short version") << QStringList{QStringLiteral("-v")};
}

void IdentityTest::toolArguments_otherThanOneFile_printUsage()
{
    QFETCH(QStringList, args);
    const ToolRun run = runTool(args);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.startsWith("usage: quorvane-rtf-to-text FILE\n"), run.err.constData());
}

void IdentityTest::toolOutput_thatCannotBeWritten_failsWithAMessage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("version") << QStringList{QStringLiteral("--version")};
    QTest::newRow("text") << QStringList{QString::fromLocal8Bit(qgetenv("QUORVANE_SOURCE_DIR"))
                                         + QStringLiteral("/fuzz/seeds/quorvane.rtf")};
}

void IdentityTest::toolOutput_thatCannotBeWritten_failsWithAMessage()
{
    QFETCH(QStringList, args);
    // Every write to /dev/full fails with "No space left on device".
    const ToolRun run = runTool(args, QStringLiteral("/dev/full"));
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith("quorvane-rtf-to-text: cannot write the output: "), run.err.constData());
}

void IdentityTest::applicationIcon_hasEveryInstalledSize()
{
    const QIcon icon = applicationIcon();
    QCOMPARE(icon.availableSizes(), (QList<QSize>{{48, 48}, {128, 128}, {256, 256}}));
    // Drawn, not blank: the corner is clear and the middle is not.
    const QImage image = icon.pixmap(256).toImage();
    QCOMPARE(image.size(), QSize(256, 256));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(128, 128)), 255);
}

void IdentityTest::everyPage_showsTheApplicationIcon_data()
{
    QTest::addColumn<QString>("page");
    for (const char *id : {PageId::Splash, PageId::Main, PageId::BusName, PageId::BusEmp, PageId::TxtEditor,
                           PageId::Info, PageId::VersionHx, PageId::Credits2})
        QTest::newRow(id) << QString::fromLatin1(id);
}

void IdentityTest::everyPage_showsTheApplicationIcon()
{
    QFETCH(QString, page);
    identifyApplication();
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral(QUORVANE_APP_ID));
    TestRun run;
    startProgram(*run.ctx);
    Page *p = run.ctx->nav.show(page);
    QVERIFY(p);
    QCOMPARE(p->windowIcon().availableSizes(), applicationIcon().availableSizes());
}

QTEST_MAIN(IdentityTest)
#include "test_identity.moc"
