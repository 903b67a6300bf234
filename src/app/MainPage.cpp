#include "app/MainPage.h"

#include "app/AppContext.h"
#include "app/Messages.h"
#include "app/PageIds.h"
#include "app/Prompts.h"
#include "app/StepMarkIcon.h"
#include "app/Widgets.h"

#include <QPushButton>

#include <functional>

namespace {

struct Entry {
    const char *button;
    const char *label;
    const char *caption;
    const char *tooltip; // label tooltip
    const char *target;  // page to open, or null for Clear
    int column;          // 0 left, 1 right
    int row;
};

// Entries in tab order.
const Entry kEntries[] = {
    {"cmdInfo", "lblInfo", "In&formation", "Information about this program.", PageId::Info, 0, 0},
    {"cmdInstruc", "lblInstruc", "&Instructions", "Instructions on how to use this program.", PageId::Instruc, 0, 1},
    {"cmdStep1", "lblStep1", "Step  &1:  Business Name && Address", nullptr, PageId::BusName, 0, 2},
    {"cmdStep2", "lblStep2", "Step  &2:  Type of Business", nullptr, PageId::BusType, 0, 3},
    {"cmdStep3", "lblStep3", "Step  &3:  Nature of Business", nullptr, PageId::BusKind, 0, 4},
    {"cmdStep4", "lblStep4", "Step  &4:  Purpose of Business", nullptr, PageId::BusPurp, 0, 5},
    {"cmdStep5", "lblStep5", "Step  &5:  Business Goals", nullptr, PageId::BusGoals, 0, 6},
    {"cmdStep6", "lblStep6", "Step  &6:  Business Perspective", nullptr, PageId::BusPersp, 0, 7},
    {"cmdStep7", "lblStep7", "Step  &7:  Current Business Status", nullptr, PageId::BusStatus, 1, 0},
    {"cmdStep8", "lblStep8", "Step  &8:  Employees", nullptr, PageId::BusEmp, 1, 1},
    {"cmdStep9", "lblStep9", "Step  &9:  Description of Prod/Svc", nullptr, PageId::BusDesc, 1, 2},
    {"cmdStep10", "lblStep10", "Step 10:  &Advertising/Marketing", nullptr, PageId::BusAdMktg, 1, 3},
    {"cmdStep11", "lblStep11", "Step 11:  Income and &Expenses", nullptr, PageId::BusInEx, 1, 4},
    {"cmdStep12", "lblStep12", "Step 12:  &Other Information", nullptr, PageId::Other, 1, 5},
    {"cmdEditText", "lblEditText", "Edit &Text && Save to File", "Save information to a file.", PageId::TxtEditor, 1, 6},
    {"cmdClear", "lblClear", "&Clear && Start Over", "Erase every answer and start a new plan.", nullptr, 1, 7},
};

QRect labelRect(const Entry &e)
{
    const int top = 120 + 360 * e.row;
    const int left = e.column == 0 ? 480 : 4320;
    const QString name = QString::fromLatin1(e.label);
    if (name == QLatin1String("lblStep1"))
        return twipsRect(left, top, 3285, 360);
    if (name == QLatin1String("lblEditText"))
        return twipsRect(left, top, 2235, 240);
    if (name == QLatin1String("lblClear"))
        return twipsRect(left, top, 1815, 255);
    return twipsRect(left, top, e.column == 0 ? 3255 : 3135, 255);
}

} // namespace

MainPage::MainPage(AppContext &ctx) : Page(ctx, PageId::Main, 7605, 3150)
{
    setWindowTitle(QStringLiteral("Quorvane"));
    const QFont labelFont = arialFont(9.75, true);

    QWidget *previous = nullptr;
    for (const Entry &e : kEntries) {
        auto *button = makeButton(this, e.button, QString());
        button->setGeometry(twipsRect(e.column == 0 ? 120 : 3960, 120 + 360 * e.row, 255, 255));
        auto *label = new AccessLabel(this, e.label, QString::fromLatin1(e.caption), button);
        label->setFont(labelFont);
        label->setGeometry(labelRect(e));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (e.tooltip)
            label->setToolTip(QString::fromLatin1(e.tooltip));

        std::function<void()> action;
        if (e.target) {
            const QString target = QString::fromLatin1(e.target);
            const bool info = target == QLatin1String(PageId::Info);
            action = [this, target, info] {
                if (info)
                    m_ctx.shared.InfoOrigin = QStringLiteral("M");
                m_ctx.nav.switchPage(this, target);
            };
        } else {
            action = [this] { clearPlan(); };
        }
        connect(button, &QPushButton::clicked, this, action);
        connect(label, &AccessLabel::clicked, this, action);

        if (previous)
            setTabOrder(previous, button);
        previous = button;
    }

    for (int i = 0; i < kStepCount; ++i) {
        m_stepButtons[i] = findChild<QPushButton *>(QStringLiteral("cmdStep%1").arg(i + 1));
        m_stepLabels[i] = findChild<QLabel *>(QStringLiteral("lblStep%1").arg(i + 1));
        m_stepButtons[i]->setIconSize(QSize(twips(180), twips(180)));
    }

    auto *exit = makeButton(this, "cmdExit", QStringLiteral("E&xit"), QStringLiteral("Click here to exit the program."));
    exit->setGeometry(twipsRect(6360, 2640, 1095, 495));
    setTabOrder(previous, exit);
    connect(exit, &QPushButton::clicked, this, [this] { exitProgram(); });
}

void MainPage::onLoad()
{
    resetPlan(m_ctx.plan, m_ctx.shared);
    refreshStepMarks();
}

void MainPage::onActivate()
{
    m_ctx.shared.InfoOrigin = QStringLiteral("N");
    // Every return to this page passes here, so the marks follow what the steps stored.
    refreshStepMarks();
}

void MainPage::refreshStepMarks()
{
    for (int i = 0; i < kStepCount; ++i) {
        const StepState state = stepState(m_ctx.plan, m_ctx.shared, i + 1);
        const QString words = state.text();
        m_stepButtons[i]->setIcon(stepMarkIcon(state.mark()));
        // The step entries have no tooltip text of their own, so the state is their only line.
        m_stepButtons[i]->setToolTip(words);
        m_stepButtons[i]->setAccessibleDescription(words);
        m_stepLabels[i]->setToolTip(words);
    }
}

void MainPage::clearPlan()
{
    if (m_ctx.prompts.askYesNo(Msg::ClearQuestion)) {
        resetPlan(m_ctx.plan, m_ctx.shared);
        m_ctx.finance = {};
        refreshStepMarks();
    }
}

void MainPage::exitProgram()
{
    if (m_ctx.nav.confirmExit())
        m_ctx.nav.endProgram();
}

bool MainPage::closeRequested()
{
    if (!m_ctx.nav.confirmExit())
        return false;
    m_ctx.nav.endProgram();
    return true;
}
