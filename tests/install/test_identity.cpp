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
    void tool_answersItsArguments_data();
    void tool_answersItsArguments();
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

void IdentityTest::tool_answersItsArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("outputFile");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("errStart"); // empty: nothing on stderr
    const QByteArray usage("usage: quorvane-rtf-to-text FILE\n");
    const QByteArray cannotWrite("quorvane-rtf-to-text: cannot write the output: ");
    const QString version = QStringLiteral("--version");
    QTest::newRow("version") << QStringList{version} << QString() << 0
                             << QByteArray("quorvane-rtf-to-text " QUORVANE_VERSION "\n") << QByteArray();
    // Anything but one file prints the usage.
    QTest::newRow("none") << QStringList() << QString() << 2 << QByteArray() << usage;
    QTest::newRow("two files") << QStringList{"a.rtf", "b.rtf"} << QString() << 2 << QByteArray() << usage;
    QTest::newRow("version and a file") << QStringList{version, "a.rtf"} << QString() << 2 << QByteArray() << usage;
    QTest::newRow("unknown option") << QStringList{"--help"} << QString() << 2 << QByteArray() << usage;
    QTest::newRow("short version") << QStringList{"-v"} << QString() << 2 << QByteArray() << usage;
    // Every write to /dev/full fails with "No space left on device".
    const QString full = QStringLiteral("/dev/full");
    QTest::newRow("version to a full disk") << QStringList{version} << full << 1 << QByteArray() << cannotWrite;
    QTest::newRow("text to a full disk") << QStringList{QString::fromLocal8Bit(qgetenv("QUORVANE_SOURCE_DIR"))
                                                        + QStringLiteral("/fuzz/seeds/quorvane.rtf")}
                                         << full << 1 << QByteArray() << cannotWrite;
}

void IdentityTest::tool_answersItsArguments()
{
    QFETCH(QStringList, args);
    QFETCH(QString, outputFile);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, errStart);
    const ToolRun run = runTool(args, outputFile);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, out);
    QVERIFY2(errStart.isEmpty() ? run.err.isEmpty() : run.err.startsWith(errStart), run.err.constData());
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
