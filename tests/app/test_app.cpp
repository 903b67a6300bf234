#include "app/Messages.h"
#include "app/PageIds.h"
#include "app/StepMarkIcon.h"
#include "app/Widgets.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace {

// Stands in for a page another part of the program has not registered.
class StubPage : public Page {
public:
    StubPage(AppContext &ctx, const char *name) : Page(ctx, name, 3000, 2000) {}
    int activations = 0;
    void onActivate() override { ++activations; }
};

const char *const kEntryTargets[][3] = {
    {"cmdInfo", "lblInfo", PageId::Info},          {"cmdInstruc", "lblInstruc", PageId::Instruc},
    {"cmdStep1", "lblStep1", PageId::BusName},     {"cmdStep2", "lblStep2", PageId::BusType},
    {"cmdStep3", "lblStep3", PageId::BusKind},     {"cmdStep4", "lblStep4", PageId::BusPurp},
    {"cmdStep5", "lblStep5", PageId::BusGoals},    {"cmdStep6", "lblStep6", PageId::BusPersp},
    {"cmdStep7", "lblStep7", PageId::BusStatus},   {"cmdStep8", "lblStep8", PageId::BusEmp},
    {"cmdStep9", "lblStep9", PageId::BusDesc},     {"cmdStep10", "lblStep10", PageId::BusAdMktg},
    {"cmdStep11", "lblStep11", PageId::BusInEx},   {"cmdStep12", "lblStep12", PageId::Other},
    {"cmdEditText", "lblEditText", PageId::TxtEditor},
};

// Which mark a step button shows, told apart by the icon's pixels.
QString shownMark(const QPushButton *button)
{
    if (button->icon().isNull())
        return QStringLiteral("empty");
    const QImage shown = button->icon().pixmap(button->iconSize()).toImage();
    if (shown == stepMarkIcon(StepMark::Half).pixmap(button->iconSize()).toImage())
        return QStringLiteral("half");
    if (shown == stepMarkIcon(StepMark::Check).pixmap(button->iconSize()).toImage())
        return QStringLiteral("check");
    return QStringLiteral("unknown");
}

} // namespace

class AppTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startUp_loadsMainInstructionsAndInfoHiddenAndShowsSplash();
    void splash_hasCaptionsTooltipsAndTabOrder();
    void splashEnter_showsMainAndHidesSplash();
    void splashInfo_setsOriginAndShowsInfo();
    void splashExit_endsWithoutQuestion();
    void splashClose_endsProgram();
    void main_hasSixteenEntriesAtTheirPlaces();
    void mainEntry_labelAndButtonOpenTheSamePage_data();
    void mainEntry_labelAndButtonOpenTheSamePage();
    void mainLabelAccessKey_onlyMovesFocus();
    void mainClear_noKeepsAnswers_yesResets();
    void mainExit_noKeepsRunning_yesEnds();
    void mainClose_noCancels_yesEnds();
    void mainActivation_resetsInfoOrigin();
    void mainStepMarks_followStoredAnswersAndClear();
    void endProgram_closesEveryPageWithoutQuestions();

    void messageBox_isBuiltAsTheQuestionAsks_data();
    void messageBox_isBuiltAsTheQuestionAsks();
    void programFont_isThePagesFont();
    void centredClientPos_centresFrameAndClient_data();
    void centredClientPos_centresFrameAndClient();
    void page_centresWithItsFrame_evenWhenLearntAfterLoading();

private:
    void registerStubs();
    Page *mainPage() const { return run->page(PageId::Main); }
    std::unique_ptr<TestRun> run;
};

void AppTest::init()
{
    run = std::make_unique<TestRun>();
    registerStubs();
    startProgram(*run->ctx);
}

void AppTest::cleanup()
{
    VERIFY_PROMPTS(run->prompts);
    run.reset();
    Page::setWindowFrame(QMargins());
}

void AppTest::registerStubs()
{
    Navigator &nav = run->ctx->nav;
    for (const auto &e : kEntryTargets) {
        const QString id = QString::fromLatin1(e[2]);
        if (!nav.isRegistered(id)) {
            const char *name = e[2];
            nav.registerPage(id, [name](AppContext &c) { return new StubPage(c, name); });
        }
    }
}

void AppTest::startUp_loadsMainInstructionsAndInfoHiddenAndShowsSplash()
{
    QVERIFY(run->visible(PageId::Splash));
    for (const char *id : {PageId::Main, PageId::Instruc, PageId::Info}) {
        QVERIFY2(run->page(id) != nullptr, id);
        QVERIFY2(!run->page(id)->isVisible(), id);
    }
    QVERIFY(run->page(PageId::BusName) == nullptr);
    QCOMPARE(run->page(PageId::Splash)->windowTitle(), QStringLiteral("Quorvane"));
    QCOMPARE(run->page(PageId::Splash)->size(), QSize(337, 236));
    QCOMPARE(run->page(PageId::Main)->size(), QSize(507, 210));
    QCOMPARE(run->ctx->plan.Customers.text(), QStringLiteral("(blank)                 "));
    QCOMPARE(run->ctx->plan.Emp[9], QStringLiteral("10."));
    QCOMPARE(run->ctx->shared.InfoOrigin, QStringLiteral("N"));
}

void AppTest::splash_hasCaptionsTooltipsAndTabOrder()
{
    Page *splash = run->page(PageId::Splash);
    FIND(enter, QPushButton, splash, "cmdEnter");
    FIND(info, QPushButton, splash, "cmdInfo");
    FIND(exit, QPushButton, splash, "cmdExit");
    FIND(picture, QLabel, splash, "Picture1");
    FIND(image, QLabel, splash, "Image1");
    QCOMPARE(enter->text(), QStringLiteral("&Enter"));
    QCOMPARE(info->text(), QStringLiteral("&Info"));
    QCOMPARE(exit->text(), QStringLiteral("E&xit"));
    QCOMPARE(enter->toolTip(), QStringLiteral("Click here to begin."));
    QCOMPARE(info->toolTip(), QStringLiteral("Click here for information about this program."));
    QCOMPARE(exit->toolTip(), QStringLiteral("Click here to exit the program."));
    QCOMPARE(info->geometry(), QRect(8, 192, 65, 33));
    QCOMPARE(enter->geometry().left(), 264);
    QCOMPARE(picture->pixmap().size(), QSize(252, 103));
    QCOMPARE(image->pixmap().size(), QSize(274, 53));
    QCOMPARE(tabOrder(enter, 3), (QStringList{"cmdEnter", "cmdExit", "cmdInfo"}));
    QVERIFY(enter->autoDefault());
    QVERIFY(!enter->isDefault());
}

void AppTest::splashEnter_showsMainAndHidesSplash()
{
    Page *splash = run->page(PageId::Splash);
    FIND(enter, QPushButton, splash, "cmdEnter");
    splash->activateWindow();
    enter->setFocus();
    QTest::keyClick(enter, Qt::Key_Return);
    QVERIFY(run->visible(PageId::Main));
    QVERIFY(!splash->isVisible());
}

void AppTest::splashInfo_setsOriginAndShowsInfo()
{
    FIND(info, QPushButton, run->page(PageId::Splash), "cmdInfo");
    info->click();
    QVERIFY(run->visible(PageId::Info));
    QVERIFY(!run->visible(PageId::Splash));
    QCOMPARE(run->ctx->shared.InfoOrigin, QStringLiteral("S"));
}

void AppTest::splashExit_endsWithoutQuestion()
{
    FIND(exit, QPushButton, run->page(PageId::Splash), "cmdExit");
    exit->click();
    QVERIFY(run->quit);
    QVERIFY(!run->visible(PageId::Splash));
}

void AppTest::splashClose_endsProgram()
{
    run->page(PageId::Splash)->close();
    QVERIFY(run->quit);
}

void AppTest::main_hasSixteenEntriesAtTheirPlaces()
{
    Page *main = mainPage();
    QCOMPARE(main->windowTitle(), QStringLiteral("Quorvane"));
    FIND(step1, AccessLabel, main, "lblStep1");
    QCOMPARE(step1->caption(), QStringLiteral("Step  &1:  Business Name && Address"));
    QCOMPARE(step1->geometry(), twipsRect(480, 840, 3285, 360));
    FIND(step10, AccessLabel, main, "lblStep10");
    QCOMPARE(step10->caption(), QStringLiteral("Step 10:  &Advertising/Marketing"));
    QCOMPARE(step10->geometry(), twipsRect(4320, 1200, 3135, 255));
    FIND(clear, AccessLabel, main, "lblClear");
    QCOMPARE(clear->caption(), QStringLiteral("&Clear && Start Over"));
    QCOMPARE(clear->geometry(), twipsRect(4320, 2640, 1815, 255));
    FIND(edit, AccessLabel, main, "lblEditText");
    QCOMPARE(edit->toolTip(), QStringLiteral("Save information to a file."));
    FIND(instruc, AccessLabel, main, "lblInstruc");
    QCOMPARE(instruc->toolTip(), QStringLiteral("Instructions on how to use this program."));
    FIND(cmdStep12, QPushButton, main, "cmdStep12");
    QCOMPARE(cmdStep12->geometry(), twipsRect(3960, 1920, 255, 255));
    QVERIFY(cmdStep12->text().isEmpty());
    QCOMPARE(cmdStep12->toolTip(), QStringLiteral("0 of 1 answer stored."));
    FIND(exit, QPushButton, main, "cmdExit");
    QCOMPARE(exit->geometry(), twipsRect(6360, 2640, 1095, 495));

    // Tab order: the sixteen square buttons in entry order, then Exit.
    const QStringList chain = tabOrder(main->findChild<QPushButton *>(QStringLiteral("cmdInfo")), 17);
    QCOMPARE(chain.first(), QStringLiteral("cmdInfo"));
    QCOMPARE(chain[2], QStringLiteral("cmdStep1"));
    QCOMPARE(chain[14], QStringLiteral("cmdEditText"));
    QCOMPARE(chain[15], QStringLiteral("cmdClear"));
    QCOMPARE(chain[16], QStringLiteral("cmdExit"));
    QCOMPARE(main->findChildren<AccessLabel *>().size(), 16);
}

void AppTest::mainEntry_labelAndButtonOpenTheSamePage_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("target");
    for (const auto &e : kEntryTargets)
        QTest::newRow(e[0]) << QString::fromLatin1(e[0]) << QString::fromLatin1(e[1]) << QString::fromLatin1(e[2]);
}

void AppTest::mainEntry_labelAndButtonOpenTheSamePage()
{
    QFETCH(QString, button);
    QFETCH(QString, label);
    QFETCH(QString, target);
    Navigator &nav = run->ctx->nav;
    nav.switchPage(run->page(PageId::Splash), QString::fromLatin1(PageId::Main));
    Page *main = mainPage();

    auto *b = main->findChild<QPushButton *>(button);
    auto *l = main->findChild<AccessLabel *>(label);
    QVERIFY(b && l);
    b->click();
    Page *byButton = nav.loaded(target);
    QVERIFY(byButton && byButton->isVisible());
    QVERIFY(!main->isVisible());
    if (target == QLatin1String(PageId::Info))
        QCOMPARE(run->ctx->shared.InfoOrigin, QStringLiteral("M"));

    nav.switchPage(byButton, QString::fromLatin1(PageId::Main));
    QVERIFY(!byButton->isVisible());
    QTest::mouseClick(l, Qt::LeftButton);
    QCOMPARE(nav.loaded(target), byButton);
    QVERIFY(byButton->isVisible());
    QVERIFY(!main->isVisible());
    // Leaving pages may ask about unsaved work; this test only checks the entries.
    run->prompts.reset();
}

void AppTest::mainLabelAccessKey_onlyMovesFocus()
{
    run->ctx->nav.switchPage(run->page(PageId::Splash), QString::fromLatin1(PageId::Main));
    Page *main = mainPage();
    QVERIFY(QTest::qWaitForWindowActive(main));
    FIND(step1, QPushButton, main, "cmdStep1");
    QTest::keyClick(main, Qt::Key_1, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), step1);
    QVERIFY(main->isVisible()); // nothing opened yet
    FIND(clear, QPushButton, main, "cmdClear");
    QTest::keyClick(main, Qt::Key_C, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), clear);
}

void AppTest::mainClear_noKeepsAnswers_yesResets()
{
    run->ctx->nav.switchPage(run->page(PageId::Splash), QString::fromLatin1(PageId::Main));
    PlanRecord &plan = run->ctx->plan;
    plan.Name = QStringLiteral("Acme");
    plan.BusType = QStringLiteral("Corporation");
    run->ctx->shared.EmpSlot[0] = SlotOn;
    FIND(clear, QPushButton, mainPage(), "cmdClear");

    run->prompts.expectYesNo(Msg::ClearQuestion, false);
    clear->click();
    QCOMPARE(plan.Name, QStringLiteral("Acme"));
    QCOMPARE(run->ctx->shared.EmpSlot[0], SlotOn);

    run->prompts.expectYesNo(Msg::ClearQuestion, true);
    FIND(label, AccessLabel, mainPage(), "lblClear");
    QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(plan.Name, BlankMarker);
    QCOMPARE(plan.BusType.text(), blankPadded(19));
    QCOMPARE(run->ctx->shared.EmpSlot[0], SlotOff);
    QVERIFY(mainPage()->isVisible());
}

void AppTest::mainStepMarks_followStoredAnswersAndClear()
{
    Page *main = mainPage();
    run->ctx->nav.switchPage(run->page(PageId::Splash), QString::fromLatin1(PageId::Main));
    auto step = [main](int n) { return child<QPushButton>(main, QStringLiteral("cmdStep%1").arg(n)); };
    auto open = [&](int n, const char *id) {
        step(n)->click();
        return run->page(id);
    };
    QCOMPARE(shownMark(step(4)), QStringLiteral("empty"));

    // Saved on the page: a check.
    Page *purpose = open(4, PageId::BusPurp);
    QTest::keyClicks(child(purpose, "txtBusPurp"), QStringLiteral("bake bread"));
    child<QPushButton>(purpose, "cmdSave")->click();
    child<QPushButton>(purpose, "cmdReturn")->click();
    QVERIFY(main->isVisible());
    QCOMPARE(shownMark(step(4)), QStringLiteral("check"));
    QCOMPARE(step(4)->toolTip(), QStringLiteral("1 of 1 answer stored."));

    // Typing that is not stored leaves no mark.
    Page *perspective = open(6, PageId::BusPersp);
    QTest::keyClicks(child(perspective, "txtIdea"), QStringLiteral("fresh bread"));
    run->prompts.expectSaveChanges(false);
    child<QPushButton>(perspective, "cmdReturn")->click();
    QCOMPARE(shownMark(step(6)), QStringLiteral("empty"));

    // Stored through the save question: the name, eight empty boxes and an untouched "http://".
    Page *name = open(1, PageId::BusName);
    QTest::keyClicks(child(name, "txtName"), QStringLiteral("Acme"));
    run->prompts.expectSaveChanges(true);
    child<QPushButton>(name, "cmdReturn")->click();
    QCOMPARE(shownMark(step(1)), QStringLiteral("half"));
    const QString nine = QStringLiteral("1 of 10 answers stored."); // only the name holds an answer
    QCOMPARE(step(1)->toolTip(), nine);
    QCOMPARE(step(1)->accessibleDescription(), nine);
    QCOMPARE(child(main, "lblStep1")->toolTip(), nine);

    // Clear keeps the page shown without a new activation; the marks follow at once.
    run->prompts.expectYesNo(Msg::ClearQuestion, true);
    child<QPushButton>(main, "cmdClear")->click();
    for (int n : {1, 4}) {
        QCOMPARE(shownMark(step(n)), QStringLiteral("empty"));
        QVERIFY(step(n)->toolTip().startsWith(QLatin1String("0 of ")));
    }
}

void AppTest::mainExit_noKeepsRunning_yesEnds()
{
    run->ctx->nav.switchPage(run->page(PageId::Splash), QString::fromLatin1(PageId::Main));
    FIND(exit, QPushButton, mainPage(), "cmdExit");
    run->prompts.expectExit(false);
    exit->click();
    QVERIFY(!run->quit);
    QVERIFY(mainPage()->isVisible());
    run->prompts.expectExit(true);
    exit->click();
    QVERIFY(run->quit);
    // The exact exit question: text, title, Yes/No, No by default, exclamation icon.
    const Question &q = run->prompts.asked.last();
    QCOMPARE(q.text, QStringLiteral("Are you sure you want to exit?  Any information not saved TO A FILE will be lost!"));
    QCOMPARE(q.title, QStringLiteral("Quorvane"));
    QCOMPARE(q.buttons, (QList<PromptButton>{PromptButton::Yes, PromptButton::No}));
    QCOMPARE(q.defaultButton, PromptButton::No);
    QCOMPARE(q.icon, PromptIcon::Exclamation);
}

void AppTest::mainClose_noCancels_yesEnds()
{
    run->ctx->nav.switchPage(run->page(PageId::Splash), QString::fromLatin1(PageId::Main));
    Page *main = mainPage();
    run->prompts.expectExit(false);
    QVERIFY(!main->close());
    QVERIFY(main->isVisible());
    QCOMPARE(mainPage(), main);
    run->prompts.expectExit(true);
    main->close();
    QVERIFY(run->quit);
}

void AppTest::mainActivation_resetsInfoOrigin()
{
    run->ctx->shared.InfoOrigin = QStringLiteral("M");
    run->ctx->nav.switchPage(run->page(PageId::Info), QString::fromLatin1(PageId::Main));
    QCOMPARE(run->ctx->shared.InfoOrigin, QStringLiteral("N"));
}

void AppTest::endProgram_closesEveryPageWithoutQuestions()
{
    Navigator &nav = run->ctx->nav;
    nav.switchPage(run->page(PageId::Splash), QString::fromLatin1(PageId::Main));
    nav.show(QString::fromLatin1(PageId::BusName));
    nav.endProgram();
    QVERIFY(run->quit);
    QVERIFY(!run->visible(PageId::Main));
    QVERIFY(!run->visible(PageId::BusName));
}

// How each question the program asks becomes a real message box. The questions come
// from the code that asks them where it is a shared helper.
void AppTest::messageBox_isBuiltAsTheQuestionAsks_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("escapeButton"); // NoButton: Escape and the close box do nothing
    QTest::addColumn<int>("icon");
    const int yesNo = QMessageBox::Yes | QMessageBox::No;
    QTest::newRow("exit") << "exit" << Msg::ExitQuestion << "Quorvane" << yesNo << int(QMessageBox::No)
                          << int(QMessageBox::No) << int(QMessageBox::Warning);
    QTest::newRow("save changes") << "save" << Msg::SaveChangesQuestion << "Save Changes" << yesNo
                                  << int(QMessageBox::Yes) << int(QMessageBox::NoButton) << int(QMessageBox::Warning);
    QTest::newRow("clear") << "yesNo" << Msg::ClearQuestion << "Quorvane" << yesNo << int(QMessageBox::No)
                           << int(QMessageBox::No) << int(QMessageBox::Warning);
    QTest::newRow("editor save") << "yesNoCancel" << Msg::SaveDocumentQuestion << "Quorvane"
                                 << (yesNo | QMessageBox::Cancel) << int(QMessageBox::Cancel)
                                 << int(QMessageBox::Cancel) << int(QMessageBox::Warning);
    QTest::newRow("product confirm") << "okCancel" << Msg::prodConfirm(2) << "Quorvane"
                                     << int(QMessageBox::Ok | QMessageBox::Cancel) << int(QMessageBox::Cancel)
                                     << int(QMessageBox::Cancel) << int(QMessageBox::Warning);
    QTest::newRow("notice") << "notice" << Msg::FindNotFound << "Find" << int(QMessageBox::Ok) << int(QMessageBox::Ok)
                            << int(QMessageBox::Ok) << int(QMessageBox::Information);
    QTest::newRow("error") << "error" << Msg::saveFailed("a.rtf", "Disk full") << "Quorvane" << int(QMessageBox::Ok)
                           << int(QMessageBox::Ok) << int(QMessageBox::Ok) << int(QMessageBox::Critical);
}

void AppTest::messageBox_isBuiltAsTheQuestionAsks()
{
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(int, buttons);
    QFETCH(int, defaultButton);
    QFETCH(int, escapeButton);
    QFETCH(int, icon);

    ScriptedPrompts &prompts = run->prompts;
    Question q;
    if (kind == "exit") {
        prompts.expectExit(false);
        prompts.confirmExit();
        q = prompts.asked.last();
    } else if (kind == "save") {
        prompts.expectSaveChanges(false);
        prompts.askSaveChanges();
        q = prompts.asked.last();
    } else if (kind == "yesNo") {
        prompts.expectYesNo(text, false);
        prompts.askYesNo(text);
        q = prompts.asked.last();
    } else if (kind == "yesNoCancel") {
        q = Question::yesNoCancel(text, title);
    } else if (kind == "okCancel") {
        q = Question::okCancel(text, title);
    } else if (kind == "notice") {
        q = Question::notice(text, title);
    } else {
        q = Question::error(text, title);
    }

    // Escape, then the close box, each on a box of its own.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::unique_ptr<QMessageBox> box = QtPrompts::messageBox(q);
        QCOMPARE(box->text(), text);
        QCOMPARE(box->windowTitle(), title);
        QCOMPARE(int(box->standardButtons()), buttons);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::StandardButton(defaultButton)));
        QCOMPARE(int(box->icon()), icon);
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        if (attempt == 0)
            QTest::keyClick(box.get(), Qt::Key_Escape);
        else
            box->close();
        if (escapeButton == QMessageBox::NoButton) {
            // The question stays until Yes or No is chosen.
            QVERIFY(box->isVisible());
            QCOMPARE(box->clickedButton(), nullptr);
            box->button(QMessageBox::Yes)->click();
            QVERIFY(!box->isVisible());
            QCOMPARE(box->clickedButton(), box->button(QMessageBox::Yes));
        } else {
            QVERIFY(!box->isVisible());
            QCOMPARE(box->clickedButton(), box->button(QMessageBox::StandardButton(escapeButton)));
        }
    }
}

// Message boxes, tooltips and dialogs read as the pages do; the pages keep their own fonts.
void AppTest::programFont_isThePagesFont()
{
    run.reset();
    QApplication::setFont(QFont(QStringLiteral("Courier"), 14));
    init();

    const QFont font = QApplication::font();
    QCOMPARE(font.family(), QStringLiteral("Arial"));
    QCOMPARE(font.pointSizeF(), 8.25);
    QCOMPARE(font, pageFont());
    for (const char *cls : {"QMessageBox", "QTipLabel", "QMenu", "QPushButton", "QLineEdit"})
        QCOMPARE(QApplication::font(cls), font);
    const std::unique_ptr<QMessageBox> box = QtPrompts::messageBox(Question::notice(Msg::FindNotFound, Msg::FindTitle));
    QCOMPARE(box->font(), font);
    QCOMPARE(mainPage()->font(), font);
    FIND(step1, AccessLabel, mainPage(), "lblStep1");
    QCOMPARE(step1->font().pointSizeF(), 9.75); // the entries keep their own size
}

void AppTest::centredClientPos_centresFrameAndClient_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QPoint>("clientPos");
    QTest::newRow("no frame") << QRect(0, 0, 1280, 1024) << QSize(517, 315) << QMargins() << QPoint(381, 354);
    // A title bar of 20 pixels and a border of 1, as measured with openbox: the whole
    // window is centred, so the client sits 10 pixels lower than on its own.
    QTest::newRow("title bar") << QRect(0, 0, 1280, 1024) << QSize(517, 315) << QMargins(1, 20, 1, 1)
                               << QPoint(381, 364);
    QTest::newRow("second screen") << QRect(1280, 0, 1920, 1080) << QSize(400, 300) << QMargins(4, 30, 4, 4)
                                   << QPoint(1280 + 756 + 4, 373 + 30);
    QTest::newRow("larger than the screen") << QRect(0, 0, 640, 480) << QSize(800, 600) << QMargins(2, 20, 2, 2)
                                           << QPoint(-82 + 2, -71 + 20);
}

void AppTest::centredClientPos_centresFrameAndClient()
{
    QFETCH(QRect, screen);
    QFETCH(QSize, client);
    QFETCH(QMargins, frame);
    QFETCH(QPoint, clientPos);
    QCOMPARE(centredClientPos(screen, client, frame), clientPos);
    // The frame's centre is the screen's, to the pixel.
    const QRect outer = QRect(clientPos, client).marginsAdded(frame);
    QVERIFY(qAbs(outer.center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(outer.center().y() - screen.center().y()) <= 1);
}

void AppTest::page_centresWithItsFrame_evenWhenLearntAfterLoading()
{
    // A fresh start: nothing framed yet.
    run.reset();
    Page::setWindowFrame(QMargins());
    init();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    Navigator &nav = run->ctx->nav;

    // The first page shown tells the frame and is centred again with it.
    Page *splash = run->page(PageId::Splash);
    const QMargins platformFrame = splash->windowHandle()->frameMargins();
    if (platformFrame.isNull())
        QSKIP("this window system draws no frames");
    QCOMPARE(Page::windowFrame(), platformFrame);
    QCOMPARE(splash->geometry().topLeft(), centredClientPos(screen, splash->size(), platformFrame));

    // Pages loaded before then are centred again when first shown; a title bar makes
    // the frame uneven, as on a real desktop.
    const QMargins frame(1, 20, 1, 1);
    Page::setWindowFrame(frame);
    Page *main = mainPage();
    nav.switchPage(splash, QString::fromLatin1(PageId::Main));
    QCOMPARE(main->geometry().topLeft(), centredClientPos(screen, main->size(), frame));
    // Pages loaded later are centred with it straight away.
    Page *step1 = nav.load(QString::fromLatin1(PageId::BusName));
    QCOMPARE(step1->geometry().topLeft(), centredClientPos(screen, step1->size(), frame));
    // Placed once: a page the user moved stays where it was put.
    main->move(10, 10);
    const QPoint moved = main->pos();
    nav.switchPage(main, QString::fromLatin1(PageId::BusName));
    nav.switchPage(step1, QString::fromLatin1(PageId::Main));
    QCOMPARE(main->pos(), moved);
}

QTEST_MAIN(AppTest)
#include "test_app.moc"
