#include "steps/EmployeesPage.h"

#include "app/AppContext.h"
#include "app/Messages.h"
#include "app/PageIds.h"
#include "app/Prompts.h"
#include "app/Widgets.h"
#include "steps/AnswerLine.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

EmployeesPage::EmployeesPage(AppContext &ctx) : StepPage(ctx, PageId::BusEmp, 7230, 5640)
{
    setWindowTitle(QStringLiteral("Quorvane - Employees"));

    const QString introText = QStringLiteral(
        "In the box below, enter your current employees, including volunteers (up to 10), their position within "
        "the business and their qualifications.  Then click to save that one and move on to the next one.");
    auto *intro = makeLabel(this, "Label1", introText, questionFont());
    intro->setGeometry(twipsRect(120, 120, 6990, 840));

    m_entry = makeLineBox(this, "txtEmpInfo");
    m_entry->setGeometry(twipsRect(120, 1065, 5160, 315));
    intro->setBuddy(m_entry);
    watch(m_entry);

    // Its own rules, not the common Save: see saveAndNext().
    auto *save = makeButton(this, "cmdSave", QStringLiteral("&Save && Next"),
                            QStringLiteral("Click here to save your information."));
    save->setGeometry(twipsRect(5400, 1020, 1710, 405));
    connect(save, &QPushButton::clicked, this, &EmployeesPage::saveAndNext);

    const QFont lineFont = arialFont(9.75);
    for (int i = 0; i < Lines; ++i)
        m_lines[i] = makeAnswerLine(this, QStringLiteral("lblEmp%1").arg(i + 1), lineFont,
                                    twipsRect(120, 1560 + 300 * i, 6990, 270));

    auto *clearAll = makeButton(this, "cmdClearAll", QStringLiteral("&Clear All"),
                                QStringLiteral("Click here to clear all employee entries."));
    clearAll->setGeometry(twipsRect(120, 4800, 1335, 495));
    connect(clearAll, &QPushButton::clicked, this, &EmployeesPage::clearAll);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstEntry"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setFont(arialFont(8.25));
    m_list->setGeometry(twipsRect(1935, 4620, 615, 855));
    m_list->setAccessibleName(QStringLiteral("Entry number"));

    auto *clearOne = makeButton(this, "cmdClearOne", QStringLiteral("Clear &One Entry"),
                                QStringLiteral("Click here to clear chosen employee entry."));
    clearOne->setGeometry(twipsRect(2670, 4800, 1575, 495));
    connect(clearOne, &QPushButton::clicked, this, &EmployeesPage::clearOne);

    auto *ret = makeReturnButton();
    ret->setGeometry(twipsRect(5100, 4800, 2010, 495));

    chainTabOrder({m_entry, save, clearAll, m_list, clearOne, ret});
}

void EmployeesPage::onLoad()
{
    for (int i = 0; i < Lines; ++i)
        setLine(i, employeeEmpty(i + 1));
    markClean();
    // Only this page wrote these lines before, so at its first showing each was free; lines
    // that Fill Steps restored since the start hold an employee and stay in use.
    markEmployeeSlots(m_ctx.plan, m_ctx.shared);
    for (int n = 1; n <= Lines; ++n)
        m_list->addItem(QString::number(n));
}

void EmployeesPage::onActivate()
{
    m_entry->clear();
    for (int i = 0; i < Lines; ++i)
        setLine(i, m_ctx.plan.Emp[i]);
    markClean();
    m_entry->setFocus();
}

int EmployeesPage::lowestFreeLine() const { return ::lowestFreeSlot(m_ctx.shared.EmpSlot); }

void EmployeesPage::setLine(int index, const QString &caption) { showAnswer(m_lines[index], caption); }

void EmployeesPage::saveAndNext()
{
    const int i = lowestFreeLine();
    if (i < 0) {
        // Typing that cannot be stored stays in the box, unsaved, and the user is told;
        // an untouched box (the entry just stored, or nothing) loses nothing.
        if (ChangedFlag == QLatin1String("Y")) {
            tellFull();
            return;
        }
    } else {
        storeLine(i);
    }
    for (int n = 0; n < Lines; ++n)
        m_ctx.plan.Emp[n] = m_lines[n]->text();
    markClean();
}

void EmployeesPage::storeLine(int i)
{
    setLine(i, employeePrefix(i + 1) + m_entry->text());
    m_ctx.shared.EmpSlot[i] = SlotOn;
    // The last line keeps the text, so a full list shows what was typed last.
    if (i < Lines - 1) {
        m_entry->clear();
        m_entry->setFocus();
    }
}

bool EmployeesPage::canStoreOnLeave()
{
    // An empty box loses nothing.
    if (lowestFreeLine() >= 0 || m_entry->text().isEmpty())
        return true;
    tellFull();
    return false;
}

void EmployeesPage::tellFull() { m_ctx.prompts.ask(Question::notice(Msg::EmpFull, Msg::AppTitle)); }

void EmployeesPage::storeToPlan()
{
    const int i = lowestFreeLine();
    if (i >= 0) {
        setLine(i, m_entry->text());
        m_ctx.shared.EmpSlot[i] = SlotOn;
    }
    for (int n = 0; n < Lines; ++n) {
        const QString caption = m_lines[n]->text();
        if (caption != employeeEmpty(n + 1))
            m_ctx.plan.Emp[n] = caption;
    }
    m_entry->clear();
    // save() marks the page clean after this.
}

void EmployeesPage::clearOne()
{
    const QList<QListWidgetItem *> chosen = m_list->selectedItems();
    if (!chosen.isEmpty() && m_ctx.prompts.askYesNo(Msg::EmpDeleteOne)) {
        const int i = chosen.first()->text().toInt() - 1;
        m_ctx.plan.Emp[i] = employeeEmpty(i + 1);
        setLine(i, m_ctx.plan.Emp[i]);
        m_ctx.shared.EmpSlot[i] = SlotOff;
    }
    m_entry->setFocus();
}

void EmployeesPage::clearAll()
{
    if (m_ctx.prompts.askYesNo(Msg::EmpDeleteAll)) {
        for (int i = 0; i < Lines; ++i)
            m_ctx.plan.Emp[i] = employeeEmpty(i + 1);
        m_entry->clear();
        for (int i = 0; i < Lines; ++i)
            setLine(i, m_ctx.plan.Emp[i]);
        markClean();
        m_ctx.shared.EmpSlot.fill(SlotOff);
    }
    m_entry->setFocus();
}
