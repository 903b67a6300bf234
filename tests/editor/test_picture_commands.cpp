// Insert > Picture and Insert > Cover Logo: a picture in at the caret as one undo step,
// never wider than the page's text; a file that is no picture, or one too large, refused
// with its reason and nothing changed; the logo on the formatted plan's cover and back
// from it through Fill Steps.

#include "EditorToolsSupport.h"

#include "app/Messages.h"
#include "formats/DocumentStructure.h"
#include "formats/Limits.h"
#include "formats/PrintLayout.h"
#include "plandoc/CoverLogo.h"
#include "plandoc/PlanReadBack.h"

#include <QBuffer>
#include <QTextImageFormat>

namespace {

QByteArray encoded(QImage image, const char *format)
{
    image.setDotsPerMeterX(3780); // 96 to the inch: its own size in the document's pixels
    image.setDotsPerMeterY(3780);
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return out;
}

QImage filled(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The pictures of the block, in order.
QList<QTextImageFormat> picturesOf(const QTextBlock &block)
{
    QList<QTextImageFormat> out;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat())
            out << it.fragment().charFormat().toImageFormat();
    return out;
}

} // namespace

class PictureCommandsTest : public ToolsTestBase {
    Q_OBJECT
private slots:
    void init() { setUpRun(); }
    void cleanup() { tearDownRun(); }

    void insertPicture_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QSizeF>("size");
        const qreal width = formats::printlayout::textWidth();
        QTest::newRow("wide: scaled down to the text width")
            << encoded(filled(2000, 500, Qt::red), "PNG") << QString() << QSizeF(width, width / 4);
        QTest::newRow("small: at its own size") << encoded(filled(100, 50, Qt::blue), "JPEG") << QString() << QSizeF(100, 50);
        QTest::newRow("not a picture") << QByteArray("Dear bank,\n") << Msg::NotAPicture << QSizeF();
        QByteArray tooWide = encoded(filled(10, 10, Qt::red), "BMP");
        tooWide[18] = char(0x11); // 10001 = 0x2711 pixels wide
        tooWide[19] = char(0x27);
        QTest::newRow("too large") << tooWide << formats::pictureTooLarge(10001, 10) << QSizeF();
        QTest::newRow("damaged") << encoded(filled(40, 40, Qt::red), "PNG").left(60) << Msg::DamagedPicture << QSizeF();
    }
    void insertPicture()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, error);
        QFETCH(QSizeF, size);
        const QString path = dir->filePath(QStringLiteral("picture.png"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(file) == file.size());
        f.close();
        OPEN_EDITOR(p);
        QTextCursor caret = p->textEdit()->textCursor();
        caret.setPosition(5);
        p->textEdit()->setTextCursor(caret);
        const QString before = EditorRun::wholeText(p);
        run->prompts.expectOpenFile(FileDialogResult{path, {}});
        if (!error.isEmpty())
            run->prompts.expect(Question::error(Msg::pictureNotInserted(QStringLiteral("picture.png"), error), Msg::AppTitle),
                                PromptButton::Ok);
        run->trigger(p, "mnuInsertPicture");
        QCOMPARE(run->prompts.lastFileRequest.filters.first(), QStringLiteral("Pictures (*.png *.jpg *.jpeg *.gif *.bmp *.svg)"));
        if (!error.isEmpty()) {
            QCOMPARE(EditorRun::wholeText(p), before);
            return;
        }
        QCOMPARE(p->textEdit()->textCursor().position(), 6);
        const QList<QTextImageFormat> pictures = picturesOf(p->textEdit()->textCursor().block());
        QCOMPARE(pictures.size(), 1);
        QCOMPARE(QSizeF(pictures[0].width(), pictures[0].height()), size);
        QTest::keyClick(p->textEdit(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(EditorRun::wholeText(p), before);
    }

    // Chosen before there is a plan, the logo waits for the next one; chosen over a plan,
    // it takes the old one's place. Fill Steps takes it back from the cover.
    void coverLogo_onThePlanAndBackThroughFillSteps()
    {
        run->ctx->plan.Name = QStringLiteral("Juniper Hearth");
        const QString path = dir->filePath(QStringLiteral("logo.png"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(encoded(filled(400, 200, Qt::darkGreen), "PNG")) > 0);
        f.close();
        OPEN_EDITOR(p);
        run->prompts.expectOpenFile(FileDialogResult{path, {}});
        run->prompts.expectNotice(Msg::LogoForNextPlan, Msg::AppTitle);
        run->trigger(p, "mnuInsertLogo");
        run->trigger(p, "mnuFileFormattedPlan");
        QTextDocument *doc = p->textEdit()->document();
        const QTextBlock title = doc->begin();
        QVERIFY(formats::isTitle(title.blockFormat()));
        QCOMPARE(title.text(), QStringLiteral("\uFFFC\u2028Juniper Hearth"));
        QList<QTextImageFormat> logo = picturesOf(title);
        QCOMPARE(logo.size(), 1);
        QCOMPARE(logo[0].height(), plandoc::coverlogo::MaxHeight);
        QCOMPARE(logo[0].width(), 2 * plandoc::coverlogo::MaxHeight);

        QFile other(path);
        QVERIFY(other.open(QIODevice::WriteOnly) && other.write(encoded(filled(50, 50, Qt::red), "PNG")) > 0);
        other.close();
        run->prompts.expectOpenFile(FileDialogResult{path, {}});
        run->trigger(p, "mnuInsertLogo");
        logo = picturesOf(doc->begin());
        QCOMPARE(logo.size(), 1);
        QCOMPARE(logo[0].width(), 50.0);
        QCOMPARE(doc->begin().text(), QStringLiteral("\uFFFC\u2028Juniper Hearth"));

        run->ctx->logo = formats::Picture();
        run->ctx->plan = PlanRecord();
        const int found = plandoc::readPlanBack(EditorRun::wholeText(p)).found;
        run->prompts.expectYesNo(Msg::FillStepsQuestion, true);
        run->prompts.expectNotice(Msg::answersTaken(found, int(planFields().size())), Msg::AppTitle);
        run->trigger(p, "mnuFileFillSteps");
        QCOMPARE(run->ctx->plan.Name, QStringLiteral("Juniper Hearth"));
        QCOMPARE(run->ctx->logo.image.pixel(0, 0), QColor(Qt::red).rgb());
    }
};

QTEST_MAIN(PictureCommandsTest)
#include "test_picture_commands.moc"
