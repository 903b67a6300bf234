#include "app/PageIds.h"
#include "app/Widgets.h"
#include "info/InfoLayout.h"
#include "info/InfoPage.h"
#include "info/StarOutline.h"
#include "support/TestSupport.h"

#include <QLabel>
#include <QPushButton>

namespace {

QString id(const char *name) { return QString::fromLatin1(name); }

// The version history as the reader must see it: one ampersand, lines as given.
const QString kEarlyHistory = QStringLiteral(
    "Version 1.1:\n- Replaced About page with Credits page.\n- Created Version History page.\n"
    "- Changed method of saving to file.\n- Updated ReadMe file.\n- Moved 'Other Info' to main contents page.\n"
    "- Removed '255-character limit' warnings.\n\n"
    "Version 1.2:\n- Corrected typos & fixed minor errors.\n- Fixed saving of short-term goals #4 & #5.\n"
    "- Redid main contents page.\n- Added error trap to Close (X) button.\n- Redid Employee page.\n"
    "- Redid Product/Service Description page.\n- Repackaged program w/o redundant files.\n\n"
    "Version 1.3:\n- Redid credits page.\n- Refined some (X) button error traps.\n"
    "- Fixed 'Return to Main' bugs in Steps 2 & 3.\n- Changed way of saving Prod/Svc desc.\n"
    "- Created a 'clear all' function.\n- Created 'clear' function for Emp. & Desc.");
const QString kLateHistory = QStringLiteral(
    "Version 2.0:\n- Added text editing capabilities.\n\n"
    "Version 2.1:\n- Corrected Text Editor exit problem.\n- Corrected text saving problem.\n\n"
    "Version 2.1.1:\n- Made changes to stress need to\n   save to a file.\n- Fixed text editor resizing problem.");

// The label below carries on the paragraph of the one above from the end of its last line.
bool runsOn(const QLabel *above, const QLabel *below)
{
    auto *upper = dynamic_cast<const FlowLabel *>(above);
    auto *lower = dynamic_cast<const FlowLabel *>(below);
    if (!upper || !lower || upper->text().isEmpty())
        return false;
    const QPoint end = upper->textEnd();
    return lower->y() == upper->y() + end.y() && lower->x() == upper->x()
        && lower->firstLineIndent() > upper->x() + end.x() - lower->x();
}

} // namespace

class InfoTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestRun> run;
    Page *page(const char *name) const { return run->page(name); }
    static void click(QWidget *parent, const char *button)
    {
        parent->findChild<QPushButton *>(QString::fromLatin1(button))->click();
    }
    static void clickLabel(QWidget *parent, const char *label)
    {
        QTest::mouseClick(parent->findChild<QLabel *>(QString::fromLatin1(label)), Qt::LeftButton);
    }
    // Close button: caption, tooltip, never a default button.
    static void verifyClose(QWidget *parent)
    {
        FIND(close, QPushButton, parent, "cmdClose");
        QCOMPARE(close->text(), QStringLiteral("&Close"));
        QCOMPARE(close->toolTip(), QStringLiteral("Click here to close this window."));
        QVERIFY(!close->isDefault());
    }
    // Opens the Info page as the splash page ("S") or the main page ("M") does.
    Page *openInfoFrom(const QString &origin)
    {
        if (origin == QLatin1String("S")) {
            click(page(PageId::Splash), "cmdInfo");
        } else {
            run->ctx->nav.switchPage(page(PageId::Splash), id(PageId::Main));
            click(page(PageId::Main), "cmdInfo");
        }
        return page(PageId::Info);
    }
    Page *openInstructions()
    {
        run->ctx->nav.switchPage(page(PageId::Splash), id(PageId::Main));
        click(page(PageId::Main), "cmdInstruc");
        return page(PageId::Instruc);
    }
    Page *openCredits()
    {
        Page *info = openInfoFrom(QStringLiteral("M"));
        clickLabel(info, "Picture1");
        return page(PageId::Credits2);
    }

private slots:
    void init()
    {
        run = std::make_unique<TestRun>();
        startProgram(*run->ctx);
    }

    void cleanup()
    {
        VERIFY_PROMPTS(run->prompts);
        run.reset();
    }

    void starOutline_matchesTable()
    {
        const QPolygon table{{200, 225}, {152, 296}, {154, 216}, {67, 262},  {118, 193}, {13, 203}, {101, 159},
                             {1, 132},   {106, 123}, {35, 65},   {134, 94},  {107, 17},  {176, 77}, {200, 0},
                             {224, 77},  {293, 17},  {266, 94},  {365, 65},  {294, 123}, {399, 132}, {299, 159},
                             {387, 203}, {282, 193}, {333, 262}, {246, 216}, {248, 296}};
        QCOMPARE(table.size(), 26);
        QCOMPARE(creditsStarOutline(), table);
    }

    void creditsMask_holdsOnlyTheStar_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("inside");
        QTest::newRow("centre") << QPoint(200, 150) << true;
        QTest::newRow("near the top tip") << QPoint(200, 6) << true;
        QTest::newRow("near the right tip") << QPoint(392, 132) << true;
        QTest::newRow("near a bottom tip") << QPoint(153, 288) << true;
        QTest::newRow("between the bottom tips") << QPoint(200, 240) << false;
        QTest::newRow("between two upper tips") << QPoint(300, 60) << false;
        QTest::newRow("top-left corner") << QPoint(0, 0) << false;
        QTest::newRow("bottom-right of the star box") << QPoint(399, 299) << false;
        QTest::newRow("window's bottom-right corner") << QPoint(462, 352) << false;
        QTest::newRow("right of the star") << QPoint(430, 150) << false;
    }

    void creditsMask_holdsOnlyTheStar()
    {
        QFETCH(QPoint, point);
        QFETCH(bool, inside);
        Page *credits = openCredits();
        QVERIFY(credits);
        QVERIFY(credits->rect().contains(point) || !inside);
        QCOMPARE(credits->mask().contains(point), inside);
    }

    void credits_isBorderlessDarkBlueStarWithWhiteArialInside()
    {
        Page *credits = openCredits();
        QCOMPARE(credits->windowTitle(), QStringLiteral("Quorvane-Credits"));
        QVERIFY(credits->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(credits->size(), QSize(463, 353));
        QVERIFY(credits->autoFillBackground());
        QCOMPARE(credits->palette().color(QPalette::Window), QColor(0, 0, 128));
        // The mask is the star itself, with the odd-even rule.
        QCOMPARE(credits->mask(), QRegion(creditsStarOutline(), Qt::OddEvenFill));

        FIND(text, QLabel, credits, "Label1");
        QCOMPARE(text->palette().color(QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(text->font().family(), QStringLiteral("Arial"));
        QCOMPARE(text->font().pointSizeF(), 8.25);
        QVERIFY(!text->font().bold());
        QVERIFY(text->text().contains(QStringLiteral("beta testers")));
        verifyClose(credits);
        FIND(close, QPushButton, credits, "cmdClose");
        QCOMPARE(close->font().pointSizeF(), 8.25);
        QVERIFY(close->autoDefault());

        // Text and button sit inside the star.
        const QRegion star = credits->mask();
        QVERIFY((QRegion(text->geometry()) - star).isEmpty());
        QVERIFY((QRegion(close->geometry()) - star).isEmpty());
        QVERIFY(text->geometry().contains(QPoint(200, 140)));
        QVERIFY(close->geometry().top() > text->geometry().bottom());
        // Readable: the paragraph is not cut off and the caption fits its button.
        QVERIFY(text->heightForWidth(text->width()) <= text->height());
        QVERIFY(close->fontMetrics().horizontalAdvance(QStringLiteral("Close")) + 16 <= close->width());
        QVERIFY(close->fontMetrics().height() + 6 <= close->height());
    }

    void creditsClose_returnsToInfoAndKeepsThePage_data()
    {
        QTest::addColumn<bool>("request"); // the window's close request rather than the button
        QTest::newRow("button") << false;
        QTest::newRow("close request") << true;
    }

    void creditsClose_returnsToInfoAndKeepsThePage()
    {
        QFETCH(bool, request);
        Page *credits = openCredits();
        Page *info = page(PageId::Info);
        QVERIFY(credits->isVisible());
        QVERIFY(!info->isVisible());
        QCOMPARE(run->ctx->shared.InfoOrigin, QStringLiteral("M"));

        if (request)
            QVERIFY(!credits->close());
        else
            click(credits, "cmdClose");
        QVERIFY(info->isVisible());
        QVERIFY(!credits->isVisible());
        QCOMPARE(page(PageId::Credits2), credits);
        QCOMPARE(run->ctx->shared.InfoOrigin, QStringLiteral("M"));

        // The second visit shows the same window with its star.
        const QRegion star = credits->mask();
        clickLabel(info, "Picture1");
        QCOMPARE(page(PageId::Credits2), credits);
        QVERIFY(credits->isVisible());
        QCOMPARE(credits->mask(), star);
    }

    void info_hasItsControls()
    {
        Page *info = openInfoFrom(QStringLiteral("S"));
        QCOMPARE(info->windowTitle(), QStringLiteral("Quorvane - Information"));
        QCOMPARE(info->size(), QSize(413, 266));
        FIND(picture, QLabel, info, "Picture1");
        QCOMPARE(picture->toolTip(), QStringLiteral("Click here to read the credits."));
        QCOMPARE(picture->pixmap().size(), QSize(32, 32));
        FIND(about, QLabel, info, "Label1");
        QVERIFY(!about->text().isEmpty());
        FIND(contact, QLabel, info, "lblAddy");
        QCOMPARE(contact->geometry(), twipsRect(1200, 1680, 3855, 1455));
        const QStringList lines = contact->text().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 6);
        // A person's name heads the block: a first name and a surname, not the organisation.
        const QStringList name = lines[0].split(QLatin1Char(' '));
        QCOMPARE(name.size(), 2);
        for (const QString &part : name)
            QVERIFY2(part.size() > 1 && part[0].isUpper() && part.mid(1) == part.mid(1).toLower(), qPrintable(lines[0]));
        for (const QString &word : lines[1].split(QLatin1Char(' ')) + QStringList{"Quorvane", "Support"})
            QVERIFY2(!lines[0].contains(word), qPrintable(lines[0]));
        QVERIFY(lines[4].endsWith(QStringLiteral("@example.com")));
        QVERIFY(lines[5].contains(QStringLiteral("example.com")));
        FIND(history, QLabel, info, "Label2");
        QCOMPARE(history->text(), QStringLiteral("Version History"));
        QCOMPARE(history->toolTip(), QStringLiteral("Click here to read the version history."));
        QCOMPARE(history->pos(), QPoint(twips(120), twips(3720)));
        verifyClose(info);

        // The contact block is set on every activation.
        contact->clear();
        run->ctx->nav.show(id(PageId::Info));
        QCOMPARE(contact->text().split(QLatin1Char('\n')), lines);
    }

    void infoPicture_isWhiteIOnDarkBlueDisc()
    {
        const QImage img = InfoPage::infoPicture().toImage();
        QCOMPARE(img.size(), QSize(32, 32));
        QCOMPARE(img.pixelColor(0, 0).alpha(), 0);    // outside the disc
        QCOMPARE(img.pixelColor(31, 31).alpha(), 0);
        QCOMPARE(img.pixelColor(6, 16), QColor(0, 0, 128)); // the disc
        QCOMPARE(img.pixelColor(16, 8), QColor(Qt::white)); // the dot of the i
        QCOMPARE(img.pixelColor(16, 20), QColor(Qt::white)); // its stem
        QCOMPARE(img.pixelColor(16, 11), QColor(0, 0, 128)); // the gap between them
    }

    void infoClose_returnsToOpener_data()
    {
        QTest::addColumn<QString>("origin");
        QTest::addColumn<QString>("opener");
        QTest::newRow("splash") << QStringLiteral("S") << id(PageId::Splash);
        QTest::newRow("main") << QStringLiteral("M") << id(PageId::Main);
    }

    // Credits and the version history may be visited on the way; Close still leads back to the opener.
    void infoClose_returnsToOpener()
    {
        QFETCH(QString, origin);
        QFETCH(QString, opener);
        Page *info = openInfoFrom(origin);
        QVERIFY(info->isVisible());
        QVERIFY(!run->ctx->nav.loaded(opener)->isVisible());
        QCOMPARE(run->ctx->shared.InfoOrigin, origin);

        clickLabel(info, "Picture1");
        QVERIFY(run->visible(PageId::Credits2));
        click(page(PageId::Credits2), "cmdClose");
        QVERIFY(info->isVisible());
        clickLabel(info, "Label2");
        Page *history = page(PageId::VersionHx);
        QVERIFY(history && history->isVisible());
        QVERIFY(info->isVisible()); // opened over it
        click(history, "cmdClose");
        QVERIFY(!history->isVisible());
        QVERIFY(info->isVisible());
        QCOMPARE(run->ctx->shared.InfoOrigin, origin);

        click(info, "cmdClose");
        QVERIFY(run->ctx->nav.loaded(opener)->isVisible());
        QVERIFY(!info->isVisible());
        QCOMPARE(page(PageId::Info), info); // hidden, not closed
        QCOMPARE(run->ctx->shared.InfoOrigin, QStringLiteral("N"));

        if (origin == QLatin1String("S")) {
            // Enter still leads on as usual.
            click(page(PageId::Splash), "cmdEnter");
            QVERIFY(run->visible(PageId::Main));
        }
    }

    void infoClose_withoutOpener_staysShown()
    {
        Page *info = run->open(PageId::Info);
        QCOMPARE(run->ctx->shared.InfoOrigin, QStringLiteral("N"));
        click(info, "cmdClose");
        QVERIFY(info->isVisible());
        QVERIFY(run->visible(PageId::Splash));
        QVERIFY(!run->visible(PageId::Main));
    }

    void infoCloseRequest_fromSplash_asksNothingAndShowsSplash()
    {
        Page *info = openInfoFrom(QStringLiteral("S"));
        QVERIFY(info->close());
        QVERIFY(run->visible(PageId::Splash));
        QVERIFY(!run->quit);
        QVERIFY(page(PageId::Info) == nullptr); // loaded afresh next time

        click(page(PageId::Splash), "cmdInfo");
        Page *again = page(PageId::Info);
        QVERIFY(again && again->isVisible());
        QCOMPARE(again->findChild<QLabel *>(QStringLiteral("lblAddy"))->text().count(QLatin1Char('\n')), 5);
    }

    void infoCloseRequest_fromMain_noShowsMain_yesEnds()
    {
        Page *info = openInfoFrom(QStringLiteral("M"));
        run->prompts.expectExit(false);
        QVERIFY(info->close());
        QVERIFY(run->visible(PageId::Main));
        QVERIFY(!run->quit);
        QVERIFY(page(PageId::Info) == nullptr);
        QCOMPARE(run->ctx->shared.InfoOrigin, QStringLiteral("N"));

        info = openInfoFrom(QStringLiteral("M"));
        run->prompts.expectExit(true);
        info->close();
        QVERIFY(run->quit);
    }

    void infoLinks_workFromTheKeyboard()
    {
        Page *info = openInfoFrom(QStringLiteral("S"));
        FIND(close, QPushButton, info, "cmdClose");
        QCOMPARE(tabOrder(close, 3), (QStringList{"cmdClose", "Label2", "Picture1"}));

        FIND(history, QLabel, info, "Label2");
        QTest::keyClick(history, Qt::Key_Space);
        QVERIFY(run->visible(PageId::VersionHx));
        FIND(picture, QLabel, info, "Picture1");
        QTest::keyClick(picture, Qt::Key_Return);
        QVERIFY(run->visible(PageId::Credits2));
        QVERIFY(!info->isVisible());
    }

    void versionHistory_showsTwoColumnsWithSingleAmpersands()
    {
        Page *history = run->open(PageId::VersionHx); // caption and size: sidePages_haveCaptionSizeAndClose
        FIND(title, QLabel, history, "Label1");
        QCOMPARE(title->text(), QStringLiteral("Quorvane - Version History"));
        FIND(left, QLabel, history, "lblVersionHx");
        FIND(right, QLabel, history, "Label2");
        QCOMPARE(left->text(), kEarlyHistory);
        QCOMPARE(right->text(), kLateHistory);
        QCOMPARE(left->textFormat(), Qt::PlainText);
        QVERIFY(right->x() >= left->geometry().right());
        QCOMPARE(right->y(), left->y());
    }

    void versionHistory_staysOpenWhenInfoIsLeft()
    {
        Page *info = openInfoFrom(QStringLiteral("M"));
        clickLabel(info, "Label2");
        click(info, "cmdClose");
        QVERIFY(run->visible(PageId::Main));
        QVERIFY(run->visible(PageId::VersionHx));
        // Its close request only closes it.
        QVERIFY(page(PageId::VersionHx)->close());
        QVERIFY(page(PageId::VersionHx) == nullptr);
        QVERIFY(run->visible(PageId::Main));
    }

    void instructions_hasCaptionsTooltipsAndPlaces()
    {
        Page *instruc = openInstructions();
        QCOMPARE(instruc->windowTitle(), QStringLiteral("Quorvane - Instructions"));
        QCOMPARE(instruc->size(), QSize(466, 306));
        const struct {
            const char *name, *caption, *tip;
            int left;
        } buttons[] = {
            {"cmdDistribution", "&Distribution", "Distribution information.", 120},
            {"cmdWarranty", "&Warranty", "Warranty information.", 1800},
            {"cmdShareware", "&Shareware", "About shareware in general.", 3360},
            {"cmdReturn", "&Return to Main Screen", "Click here to return to the main screen.", 5040},
        };
        for (const auto &b : buttons) {
            auto *button = instruc->findChild<QPushButton *>(QString::fromLatin1(b.name));
            QVERIFY2(button, b.name);
            QCOMPARE(button->text(), QString::fromLatin1(b.caption));
            QCOMPARE(button->toolTip(), QString::fromLatin1(b.tip));
            QCOMPARE(button->geometry().topLeft(), QPoint(twips(b.left), twips(3960)));
            QCOMPARE(button->height(), twips(495));
            QVERIFY2(button->sizeHint().width() <= button->width() + 4, b.name); // caption not cut
            QVERIFY(!button->isDefault());
        }
        QCOMPARE(tabOrder(instruc->findChild<QPushButton *>(QStringLiteral("cmdDistribution")), 4),
                 (QStringList{"cmdDistribution", "cmdWarranty", "cmdShareware", "cmdReturn"}));
    }

    void instructions_setsParagraphsOnEveryActivation()
    {
        Page *instruc = page(PageId::Instruc);
        FIND(why, QLabel, instruc, "Label1");
        FIND(how, QLabel, instruc, "Label2");
        QVERIFY(why->text().isEmpty()); // loaded at start-up, not yet shown
        openInstructions();
        QVERIFY(why->text().contains(QStringLiteral("loan")));
        QVERIFY(how->text().contains(QStringLiteral("Quorvane")));
        QVERIFY(how->text().contains(QStringLiteral("Open")));
        const QString whyText = why->text();
        why->clear();
        how->clear();
        run->ctx->nav.switchPage(instruc, id(PageId::Main));
        run->ctx->nav.switchPage(page(PageId::Main), id(PageId::Instruc));
        QCOMPARE(why->text(), whyText);
        QVERIFY(!how->text().isEmpty());
    }

    void warranty_replacesInstructionsAndRestoresIt()
    {
        Page *instruc = openInstructions();
        click(instruc, "cmdWarranty");
        Page *warranty = page(PageId::Warranty);
        QVERIFY(warranty && warranty->isVisible());
        QVERIFY(!instruc->isVisible());
        click(warranty, "cmdClose");
        QVERIFY(instruc->isVisible());
        QVERIFY(!warranty->isVisible());
        QCOMPARE(page(PageId::Warranty), warranty);

        // Its close request leads back the same way.
        click(instruc, "cmdWarranty");
        QVERIFY(!instruc->isVisible());
        QVERIFY(warranty->close());
        QVERIFY(instruc->isVisible());
        QVERIFY(page(PageId::Warranty) == nullptr);
    }

    void instructionsReturn_showsMainAndLeavesShareAndDistributionOpen()
    {
        Page *instruc = openInstructions();
        click(instruc, "cmdShareware");
        click(instruc, "cmdDistribution");
        QVERIFY(run->visible(PageId::Share));
        QVERIFY(run->visible(PageId::Distribution));
        QVERIFY(instruc->isVisible());
        QVERIFY(!run->visible(PageId::Main));

        click(instruc, "cmdReturn");
        QVERIFY(run->visible(PageId::Main));
        QVERIFY(!instruc->isVisible());
        QCOMPARE(page(PageId::Instruc), instruc); // hidden, not closed
        QVERIFY(run->visible(PageId::Share));
        QVERIFY(run->visible(PageId::Distribution));

        Page *share = page(PageId::Share);
        click(share, "cmdClose");
        QVERIFY(!share->isVisible());
        QCOMPARE(page(PageId::Share), share);
        QVERIFY(page(PageId::Distribution)->close());
        QVERIFY(page(PageId::Distribution) == nullptr);
        QVERIFY(run->visible(PageId::Main));
        QVERIFY(!instruc->isVisible());
    }

    void instructionsCloseRequest_noShowsMainAndReloadsLater_yesEnds()
    {
        Page *instruc = openInstructions();
        run->prompts.expectExit(false);
        QVERIFY(instruc->close());
        QVERIFY(run->visible(PageId::Main));
        QVERIFY(page(PageId::Instruc) == nullptr);
        QVERIFY(!run->quit);

        click(page(PageId::Main), "cmdInstruc");
        instruc = page(PageId::Instruc);
        QVERIFY(instruc && instruc->isVisible());
        QVERIFY(!instruc->findChild<QLabel *>(QStringLiteral("Label1"))->text().isEmpty());

        run->prompts.expectExit(true);
        instruc->close();
        QVERIFY(run->quit);
    }

    void sidePages_haveCaptionSizeAndClose_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("twipsSize");
        QTest::newRow("share") << id(PageId::Share) << QStringLiteral("About Shareware") << QSize(7980, 4815);
        QTest::newRow("distribution") << id(PageId::Distribution) << QStringLiteral("Quorvane - Distribution Information")
                                      << QSize(7170, 5055);
        QTest::newRow("warranty") << id(PageId::Warranty) << QStringLiteral("Quorvane - Warranty Information")
                                  << QSize(7065, 4680);
        QTest::newRow("history") << id(PageId::VersionHx) << QStringLiteral("Quorvane - Version History")
                                 << QSize(6765, 5535);
    }

    void sidePages_haveCaptionSizeAndClose()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QSize, twipsSize);
        Page *p = run->ctx->nav.show(name);
        QVERIFY(p);
        QCOMPARE(p->windowTitle(), caption);
        QCOMPARE(p->size(), QSize(twips(twipsSize.width()), twips(twipsSize.height())));
        verifyClose(p);
        const QRect close = p->findChild<QPushButton *>(QStringLiteral("cmdClose"))->geometry();
        QVERIFY(close.right() > p->width() * 3 / 4 && close.bottom() > p->height() * 3 / 4); // bottom right
        const QList<QLabel *> labels = p->findChildren<QLabel *>();
        QVERIFY(!labels.isEmpty());
        for (QLabel *l : labels)
            QVERIFY2(!l->text().isEmpty(), qPrintable(l->objectName()));
    }

    // The Warranty disclaimer reads as one paragraph over its three labels, and the
    // Shareware page's Label2 closes the paragraph above it; Distribution's contact line
    // stands apart after an empty line.
    void sidePages_paragraphsRunOnFromLabelToLabel_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("above");
        QTest::addColumn<QString>("below");
        QTest::addColumn<bool>("runOn");
        QTest::newRow("warranty 1-2") << id(PageId::Warranty) << "Label1" << "Label2" << true;
        QTest::newRow("warranty 2-3") << id(PageId::Warranty) << "Label2" << "Label3" << true;
        QTest::newRow("shareware") << id(PageId::Share) << "Label1" << "Label2" << true;
        QTest::newRow("distribution") << id(PageId::Distribution) << "Label1" << "Label2" << false;
    }

    void sidePages_paragraphsRunOnFromLabelToLabel()
    {
        QFETCH(QString, name);
        QFETCH(QString, above);
        QFETCH(QString, below);
        QFETCH(bool, runOn);
        Page *p = run->ctx->nav.show(name);
        QVERIFY(p);
        auto *upper = child<QLabel>(p, above);
        auto *lower = child<QLabel>(p, below);
        QCOMPARE(runsOn(upper, lower), runOn);
        const int lineSpacing = QFontMetrics(upper->font()).lineSpacing();
        if (!runOn) {
            QVERIFY(lower->y() >= upper->geometry().bottom() + lineSpacing); // an empty line between
            return;
        }
        // Drawn that way: the first line of the lower label is blank up to where the
        // upper one ends, and carries text after it.
        auto *flow = dynamic_cast<FlowLabel *>(lower);
        const QImage image = lower->grab().toImage();
        const QColor ground = image.pixelColor(0, 0);
        bool inkBefore = false, inkAfter = false;
        for (int y = 0; y < lineSpacing; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) == ground)
                    continue;
                (x < flow->firstLineIndent() ? inkBefore : inkAfter) = true;
            }
        }
        QVERIFY(!inkBefore);
        QVERIFY(inkAfter);
    }

    void labels_showTheirWholeTextWithoutOverlap_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *p : {PageId::Instruc, PageId::Info, PageId::Share, PageId::Distribution, PageId::Warranty,
                              PageId::VersionHx, PageId::Credits2})
            QTest::newRow(p) << id(p);
    }

    void labels_showTheirWholeTextWithoutOverlap()
    {
        QFETCH(QString, name);
        Page *p = run->ctx->nav.show(name);
        QVERIFY(p);
        QList<QWidget *> controls;
        for (QLabel *l : p->findChildren<QLabel *>()) {
            const QString what = name + QLatin1Char('.') + l->objectName();
            QVERIFY2(p->rect().contains(l->geometry()), qPrintable(what));
            if (l->wordWrap())
                QVERIFY2(l->heightForWidth(l->width()) <= l->height(), qPrintable(what));
            else
                QVERIFY2(l->sizeHint().width() <= l->width() && l->sizeHint().height() <= l->height(), qPrintable(what));
            controls << l;
        }
        for (QPushButton *b : p->findChildren<QPushButton *>()) {
            QVERIFY(p->rect().contains(b->geometry()));
            controls << b;
        }
        // Labels that carry on a paragraph share its last line, not its text.
        const auto sharesLine = [](QWidget *a, QWidget *b) {
            auto *la = qobject_cast<QLabel *>(a), *lb = qobject_cast<QLabel *>(b);
            return la && lb && (runsOn(la, lb) || runsOn(lb, la));
        };
        for (int i = 0; i < controls.size(); ++i)
            for (int j = i + 1; j < controls.size(); ++j)
                QVERIFY2(sharesLine(controls[i], controls[j]) || !controls[i]->geometry().intersects(controls[j]->geometry()),
                         qPrintable(controls[i]->objectName() + QStringLiteral(" overlaps ") + controls[j]->objectName()));
    }
};

QTEST_MAIN(InfoTest)
#include "test_info.moc"
