#include "app/Accessibility.h"
#include "app/PageIds.h"
#include "app/Widgets.h"
#include "support/TestSupport.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const char *const kAllPages[] = {
    PageId::Splash,    PageId::Main,      PageId::BusName,  PageId::BusType,      PageId::BusKind,
    PageId::BusPurp,   PageId::BusGoals,  PageId::BusPersp, PageId::BusStatus,    PageId::BusEmp,
    PageId::BusDesc,   PageId::View,      PageId::BusAdMktg, PageId::BusInEx,     PageId::BusInEx2,
    PageId::BusInEx3,  PageId::Other,     PageId::TxtEditor, PageId::Instruc,     PageId::Info,
    PageId::Share,     PageId::Distribution, PageId::Warranty, PageId::VersionHx, PageId::Credits2,
};

// Every control of the page that can take the focus, hidden ones included: a panel
// shown later must be named as well. A scroll area's viewport belongs to its area.
QList<QWidget *> focusableControls(QWidget *page)
{
    QList<QWidget *> out;
    for (QWidget *w : page->findChildren<QWidget *>()) {
        if (w->focusPolicy() == Qt::NoFocus || w->focusProxy())
            continue;
        if (auto *area = qobject_cast<QAbstractScrollArea *>(w->parentWidget()); area && area->viewport() == w)
            continue;
        out << w;
    }
    return out;
}

// What a screen reader announces as the control's name.
QString announcedName(QWidget *control)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
    return iface ? iface->text(QAccessible::Name).simplified() : QString();
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void everyPage_namesItsControlsAndShowsThemWhole_data();
    void everyPage_namesItsControlsAndShowsThemWhole();
    void controls_areNamedByTheirLabelOrCaption_data();
    void controls_areNamedByTheirLabelOrCaption();
    void laterControls_areNamedWhenTheyFirstShow();
};

void AccessibilityTest::everyPage_namesItsControlsAndShowsThemWhole_data()
{
    QTest::addColumn<QString>("page");
    for (const char *id : kAllPages)
        QTest::newRow(id) << QString::fromLatin1(id);
}

void AccessibilityTest::controls_areNamedByTheirLabelOrCaption_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    const auto row = [](const char *page, const char *control, const char *name) {
        QTest::addRow("%s/%s", page, control) << QString::fromLatin1(page) << QString::fromLatin1(control)
                                              << QString::fromUtf8(name);
    };
    // Buttons by caption: the access key's "&" goes, "&&" reads as one "&".
    row(PageId::Splash, "cmdEnter", "Enter");
    row(PageId::Splash, "cmdExit", "Exit");
    row(PageId::BusName, "cmdSave", "Save Information");
    row(PageId::BusInEx2, "cmdBack", "Go Back to Part 1");
    row(PageId::BusEmp, "cmdSave", "Save & Next");
    // The main page's blank buttons by the caption beside them, runs of spaces as one.
    row(PageId::Main, "cmdStep1", "Step 1: Business Name & Address");
    row(PageId::Main, "cmdClear", "Clear & Start Over");
    // Text boxes by their question, whether it stands in the box's frame or on the page.
    row(PageId::BusName, "txtName", "Business name:");
    row(PageId::BusName, "txtURL", "Web Site URL:");
    row(PageId::BusPurp, "txtBusPurp", "The purpose of this business is to:");
    row(PageId::BusAdMktg, "txtDiffer", "How does your business differ from the competition?");
    row(PageId::BusKind, "txtSoldVia", "These products/services are sold via:");
    row(PageId::BusDesc, "txtHowProd", "How will it be produced?");
    row(PageId::BusGoals, "txtBusSTG1", "Short-Term Goal 1");
    row(PageId::BusGoals, "txtBusLTG5", "Long-Term Goal 5");
    // Option buttons by caption.
    row(PageId::BusKind, "optConsumers", "Consumers");
    // Controls without a label of their own.
    row(PageId::BusEmp, "lstEntry", "Entry number");
    row(PageId::TxtEditor, "txtEdit", "Business plan document");
    row(PageId::Info, "Picture1", "Credits");
}

void AccessibilityTest::controls_areNamedByTheirLabelOrCaption()
{
    QFETCH(QString, page);
    QFETCH(QString, control);
    QFETCH(QString, name);
    TestRun run;
    startProgram(*run.ctx);
    Page *p = run.ctx->nav.show(page);
    QVERIFY(p);
    QCOMPARE(announcedName(child(p, control)), name);
}

void AccessibilityTest::laterControls_areNamedWhenTheyFirstShow()
{
    TestRun run;
    startProgram(*run.ctx);
    Page *page = run.open(PageId::BusName);
    // A panel opened on a page already on screen: a button, and a box in a frame with its
    // label outside the frame, which the toolkit alone would leave unnamed.
    auto *panel = new QWidget(page);
    auto *label = new QLabel(QStringLiteral("Fi&nd what:"), panel);
    auto *box = new QLineEdit(new QGroupBox(panel));
    label->setBuddy(box);
    auto *button = new QPushButton(QStringLiteral("Replace &All"), panel);
    // A rich-text label names its box by the text it shows.
    auto *rich = new QLabel(QStringLiteral("<b>Replace</b> <u>w</u>ith:"), panel);
    auto *replaceBox = new QLineEdit(new QGroupBox(panel));
    rich->setBuddy(replaceBox);
    QCOMPARE(announcedName(box), QString());
    panel->show();
    QCOMPARE(announcedName(box), QStringLiteral("Find what:"));
    QCOMPARE(announcedName(replaceBox), QStringLiteral("Replace with:"));
    QCOMPARE(announcedName(button), QStringLiteral("Replace All"));
}

// Run at the normal scale and again under QT_SCALE_FACTOR=2 (see CMakeLists.txt): no
// control reaches past its window, no caption is wider than its button, no label's text
// needs more room than the label has.
void AccessibilityTest::everyPage_namesItsControlsAndShowsThemWhole()
{
    QFETCH(QString, page);
    TestRun run;
    startProgram(*run.ctx);
    Page *p = run.ctx->nav.show(page);
    QVERIFY(p);
    const QList<QWidget *> controls = focusableControls(p);
    QVERIFY(!controls.isEmpty());
    QStringList unnamed;
    for (QWidget *w : controls) {
        if (announcedName(w).isEmpty())
            unnamed << QStringLiteral("%1 (%2)").arg(w->objectName(), QString::fromLatin1(w->metaObject()->className()));
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(QStringLiteral("without a name: ") + unnamed.join(QStringLiteral(", "))));

    QStringList cut;
    for (QWidget *w : p->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(p) || w->isWindow())
            continue;
        const QRect inWindow(w->mapTo(p, QPoint(0, 0)), w->size());
        if (!p->rect().contains(inWindow))
            cut << w->objectName() + QStringLiteral(" reaches past the window");
        if (auto *b = qobject_cast<QAbstractButton *>(w)) {
            const int text = b->fontMetrics().horizontalAdvance(stripAccessKeys(b->text()));
            if (text > b->width() - 6)
                cut << b->objectName() + QStringLiteral(" caption");
        } else if (auto *l = qobject_cast<QLabel *>(w); l && !l->text().isEmpty()) {
            const bool fits = l->wordWrap() ? l->heightForWidth(l->width()) <= l->height()
                                            : l->sizeHint().width() <= l->width() + 1
                                                  && l->sizeHint().height() <= l->height() + 1;
            if (!fits)
                cut << l->objectName() + QStringLiteral(" text");
        }
    }
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(", "))));
}

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
