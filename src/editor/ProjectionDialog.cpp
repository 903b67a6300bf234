#include "editor/ProjectionDialog.h"

#include "app/Accessibility.h"
#include "app/Prompts.h"
#include "editor/AmountFields.h"
#include "editor/FundingPage.h"
#include "plandoc/FinancialText.h"

#include <QApplication>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace plandoc::finance;

namespace {

constexpr int IncomeRow = int(MonthRow::Income);
constexpr int ExpensesRow = int(MonthRow::Expenses);
constexpr int RowCount = int(MonthRow::Cumulative) + 1;
constexpr int TotalColumn = Months;
// A figure read from the answers that deserves a look.
const QColor CheckColour(255, 236, 160);

// A rate field that keeps its rate as the owner types; an empty field is 0 %.
void bindRate(QLineEdit *edit, Rate &rate, const std::function<void()> &changed)
{
    edit->setText(formatRate(rate));
    QObject::connect(edit, &QLineEdit::textEdited, edit, [&rate, changed](const QString &text) {
        if (const auto r = parseRate(text.trimmed().isEmpty() ? QStringLiteral("0") : text)) {
            rate = *r;
            changed();
        }
    });
}

QTableWidget *figuresGrid(QWidget *parent, const char *name, const QString &accessibleName, int rows, int columns)
{
    auto *grid = new QTableWidget(rows, columns, parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setAccessibleName(accessibleName);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setTabKeyNavigation(false);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->setItem(r, c, item);
        }
    }
    return grid;
}

// The row labels at the width of the longest, shown or not, so the grid keeps its size
// when the loan's rows come and go.
void setRowLabels(QTableWidget *grid, const QStringList &labels)
{
    grid->setVerticalHeaderLabels(labels);
    grid->verticalHeader()->setFixedWidth(grid->verticalHeader()->sizeHint().width());
}

// Computed cells are read-only, bold and shaded like the window.
void markComputed(QTableWidgetItem *item, const QBrush &shade)
{
    QFont bold = item->font();
    bold.setBold(true);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setFont(bold);
    item->setBackground(shade);
}

// The grid's height for its visible rows, with room for a scroll bar when it is shown.
void fitHeight(QTableWidget *grid)
{
    int height = grid->horizontalHeader()->sizeHint().height() + 2 * grid->frameWidth();
    for (int r = 0; r < grid->rowCount(); ++r)
        height += grid->isRowHidden(r) ? 0 : grid->rowHeight(r);
    if (grid->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff && grid->minimumWidth() < grid->sizeHint().width())
        height += grid->horizontalScrollBar()->sizeHint().height();
    grid->setFixedHeight(height);
}

} // namespace

ProjectionDialog::ProjectionDialog(const FinancialPlan &initial, QWidget *parent)
    : QDialog(parent), m_plan(clamped(initial))
{
    setObjectName(QStringLiteral("dlgProjection"));
    setWindowTitle(QStringLiteral("Financial Projection"));
    if (!m_plan.firstMonth.isValid())
        m_plan.firstMonth = defaultFirstMonth(QDate::currentDate());

    // Made in the order of the tabs, which is the order Tab moves through them.
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabProjection"));
    m_tabs->addTab(monthsPage(), QStringLiteral("Twelve &Months"));
    m_funding = new FundingPage(m_plan, this);
    connect(m_funding, &FundingPage::changed, this, [this] { recompute(m_plan); });
    connect(m_funding, &FundingPage::returnPressed, this, &ProjectionDialog::accept);
    m_tabs->addTab(m_funding, QStringLiteral("Fu&nding"));
    m_tabs->addTab(yearsPage(), QStringLiteral("Three &Years"));

    m_sentences = new QLabel(this);
    m_sentences->setObjectName(QStringLiteral("lblSentences"));
    m_sentences->setWordWrap(true);
    m_sentences->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("cmdOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    // Return means OK wherever the focus is, Cancel included.
    for (QAbstractButton *b : buttons->buttons())
        if (auto *push = qobject_cast<QPushButton *>(b))
            push->setAutoDefault(false);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(m_sentences);
    layout->addWidget(buttons);

    showMonths();
    recompute(m_plan);
    showChecks();
    nameControls(this);
    m_grid->setCurrentCell(IncomeRow, 0);
    m_grid->setFocus();
}

// Closing the window closes an open cell editor, whose signals would reach the figures
// after they are gone.
ProjectionDialog::~ProjectionDialog()
{
    for (CellDelegate *delegate : findChildren<CellDelegate *>())
        delegate->disconnect();
}

QWidget *ProjectionDialog::monthsPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("pgMonths"));
    const auto currency = [this] { return m_plan.currency; };
    m_grid = figuresGrid(page, "grdProjection", QStringLiteral("Monthly income and expenses"), RowCount, Months + 1);
    QStringList labels;
    for (int r = 0; r < RowCount; ++r)
        labels << rowLabel(MonthRow(r));
    setRowLabels(m_grid, labels);
    m_delegate = new CellDelegate(currency, [](int column) { return column < Months; }, m_grid);
    m_grid->setItemDelegate(m_delegate);
    connect(m_delegate, &CellDelegate::edited, this,
            [this](int row, int column, const QString &text, bool final) { cellEdited(row, column, text, final); });
    // An edit given up with Escape leaves the figures as they were.
    connect(m_delegate, &CellDelegate::editorClosed, this, [this] { recompute(m_plan); });
    connect(m_delegate, &CellDelegate::returnPressed, this, &ProjectionDialog::accept);
    const QBrush computed = palette().brush(QPalette::Window);
    for (int r = 0; r < RowCount; ++r)
        for (int c = 0; c <= Months; ++c)
            if (r > ExpensesRow || c == TotalColumn)
                markComputed(m_grid->item(r, c), computed);
    for (int c = 0; c < Months; ++c) {
        showAmount(m_grid, IncomeRow, c, m_plan.income[c]);
        showAmount(m_grid, ExpensesRow, c, m_plan.expenses[c]);
    }

    // Every column as wide as the widest figure it may show, and at least a figure in the
    // hundreds of thousands, so the year and its total show whole on a common screen.
    const Figures f = compute(m_plan);
    int widest = fontMetrics().horizontalAdvance(QStringLiteral("-000,000.00"));
    for (int r = 0; r < RowCount; ++r)
        for (Cents c : rowAmounts(m_plan, f, MonthRow(r)))
            widest = std::max(widest, fontMetrics().horizontalAdvance(formatAmount(c * Years)));
    const int columnWidth = widest + 16;
    m_grid->horizontalHeader()->setDefaultSectionSize(columnWidth);
    const int fullWidth = m_grid->verticalHeader()->width() + (Months + 1) * columnWidth + 2 * m_grid->frameWidth();
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() - 100 : fullWidth;
    m_grid->setFixedWidth(std::min(fullWidth, room));

    m_checks = new QLabel(page);
    m_checks->setObjectName(QStringLiteral("lblChecks"));
    m_checks->setWordWrap(true);

    m_opening = amountEdit(page, "txtOpeningCash", currency);
    m_opening->setText(formatAmount(m_plan.openingCash));
    m_opening->setToolTip(QStringLiteral("The cash at the start of the first month; start-up costs are a negative amount."));
    connect(m_opening, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (const auto cents = readAmount(text, m_plan.currency)) {
            m_plan.openingCash = *cents;
            recompute(m_plan);
        }
    });
    QLineEdit *costOfSales = rateEdit(page, "txtCostOfSales");
    costOfSales->setToolTip(QStringLiteral("The part of expenses that grows with sales, such as ingredients or materials."));
    bindRate(costOfSales, m_plan.costOfSales, [this] { recompute(m_plan); });
    m_currency = new QLineEdit(m_plan.currency, page);
    m_currency->setObjectName(QStringLiteral("txtCurrency"));
    m_currency->setMaxLength(8);
    connect(m_currency, &QLineEdit::textChanged, this, [this](const QString &text) { m_plan.currency = text; });
    m_firstMonth = new QDateEdit(m_plan.firstMonth, page);
    m_firstMonth->setObjectName(QStringLiteral("dtpFirstMonth"));
    m_firstMonth->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    m_firstMonth->setDisplayFormat(QStringLiteral("MMMM yyyy"));
    m_firstMonth->setDateRange(QDate(1900, 1, 1), QDate(9998, 12, 1));
    connect(m_firstMonth, &QDateEdit::dateChanged, this, [this](const QDate &date) {
        m_plan.firstMonth = QDate(date.year(), date.month(), 1);
        showMonths();
        showChecks();
        recompute(m_plan);
    });
    m_opening->setFixedWidth(amountFieldWidth(fontMetrics()));
    costOfSales->setFixedWidth(rateFieldWidth(fontMetrics()));
    m_currency->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("MMMMM")) + 12);
    m_firstMonth->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("September 2027")) + 40);

    auto *fields = new QHBoxLayout;
    const std::pair<QString, QWidget *> captions[] = {{QStringLiteral("&Opening cash:"), m_opening},
                                                      {QStringLiteral("&Cost of sales (% of income):"), costOfSales},
                                                      {QStringLiteral("Currency &sign:"), m_currency},
                                                      {QStringLiteral("&First month:"), m_firstMonth}};
    for (const auto &[caption, field] : captions) {
        fields->addWidget(buddyLabel(caption, field, page));
        fields->addWidget(field);
        fields->addSpacing(14);
    }
    fields->addStretch(1);

    auto *note = new QLabel(QStringLiteral("Type each month's income and expenses; the other rows and the totals follow."),
                            page);
    note->setWordWrap(true);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(note);
    layout->addWidget(m_grid);
    layout->addWidget(m_checks);
    layout->addSpacing(6);
    layout->addLayout(fields);
    layout->addStretch(1);
    return page;
}

QWidget *ProjectionDialog::yearsPage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("pgYears"));
    QLineEdit *income = rateEdit(page, "txtIncomeGrowth");
    QLineEdit *expenses = rateEdit(page, "txtExpenseGrowth");
    income->setFixedWidth(rateFieldWidth(fontMetrics()));
    expenses->setFixedWidth(rateFieldWidth(fontMetrics()));
    bindRate(income, m_plan.incomeGrowth, [this] { recompute(m_plan); });
    bindRate(expenses, m_plan.expenseGrowth, [this] { recompute(m_plan); });
    expenses->setToolTip(QStringLiteral("The growth of the fixed costs; the cost of sales grows with income."));

    const QStringList rows = yearRowLabels(true);
    m_years = figuresGrid(page, "grdYears", QStringLiteral("Three years"), int(rows.size()), Years);
    setRowLabels(m_years, rows);
    QStringList years;
    for (int y = 1; y <= Years; ++y)
        years << yearLabel(y);
    m_years->setHorizontalHeaderLabels(years);
    m_years->horizontalHeader()->setDefaultSectionSize(fontMetrics().horizontalAdvance(QStringLiteral("-000,000,000.00")) + 16);
    m_years->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QBrush computed = palette().brush(QPalette::Window);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < Years; ++c)
            markComputed(m_years->item(r, c), computed);
    m_years->setFixedWidth(m_years->verticalHeader()->width()
                           + Years * m_years->horizontalHeader()->defaultSectionSize() + 2 * m_years->frameWidth());

    auto *form = new QFormLayout;
    form->addRow(buddyLabel(QStringLiteral("Income &growth a year (%):"), income, page), income);
    form->addRow(buddyLabel(QStringLiteral("E&xpenses growth a year (%):"), expenses, page), expenses);
    auto *note = new QLabel(QStringLiteral("Year 1 is the twelve months; years 2 and 3 grow from it at these rates."), page);
    note->setWordWrap(true);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(note);
    layout->addLayout(form);
    layout->addWidget(m_years);
    layout->addStretch(1);
    return page;
}

void ProjectionDialog::showMonths()
{
    QStringList labels;
    for (int c = 0; c < Months; ++c)
        labels << shortMonthName(m_plan.firstMonth, c);
    labels << TotalLabel;
    m_grid->setHorizontalHeaderLabels(labels);
    m_funding->showMonths();
}

void ProjectionDialog::showAmount(QTableWidget *grid, int row, int column, Cents amount)
{
    if (QTableWidgetItem *item = grid->item(row, column))
        item->setText(formatAmount(amount));
}

// The cells read from the answers that deserve a look are marked, each with its line.
void ProjectionDialog::showChecks()
{
    QStringList lines;
    for (int r : {IncomeRow, ExpensesRow})
        for (int c = 0; c < Months; ++c) {
            m_grid->item(r, c)->setData(Qt::BackgroundRole, QVariant());
            m_grid->item(r, c)->setToolTip(QString());
        }
    for (const Check &check : std::as_const(m_plan.checks)) {
        QTableWidgetItem *item = m_grid->item(check.row, check.month);
        lines << checkLine(m_plan, check);
        item->setBackground(CheckColour);
        item->setToolTip(lines.last());
    }
    m_checks->setText(lines.join(QLatin1Char('\n')));
    m_checks->setVisible(!lines.isEmpty());
}

void ProjectionDialog::cellEdited(int row, int column, const QString &text, bool final)
{
    if (column >= Months || (row != IncomeRow && row != ExpensesRow))
        return;
    const auto cents = readAmount(text, m_plan.currency);
    if (!cents)
        return;
    // While typing only the computed cells follow; the amount is kept when handed over.
    FinancialPlan shown = m_plan;
    (row == IncomeRow ? shown.income : shown.expenses)[column] = *cents;
    if (final) {
        // A figure the owner set needs no second look.
        shown.checks.removeIf([&](const Check &c) { return c.row == row && c.month == column; });
        m_plan = shown;
        showAmount(m_grid, row, column, *cents);
        showChecks();
    }
    recompute(shown);
}

void ProjectionDialog::recompute(const FinancialPlan &shown)
{
    const Figures f = compute(shown);
    const QList<MonthRow> rows = monthRows(shown.hasLoan());
    for (int r = 0; r < RowCount; ++r) {
        const auto row = MonthRow(r);
        m_grid->setRowHidden(r, !rows.contains(row));
        const Row amounts = rowAmounts(shown, f, row);
        if (r > ExpensesRow)
            for (int c = 0; c < Months; ++c)
                showAmount(m_grid, r, c, amounts[c]);
        showAmount(m_grid, r, TotalColumn, rowTotal(f, row, amounts));
    }
    fitHeight(m_grid);
    for (int y = 0; y < Years; ++y) {
        const YearFigures &year = f.years[size_t(y)];
        const Cents values[] = {year.income, year.expenses, year.net, year.repayments};
        for (int r = 0; r < m_years->rowCount(); ++r)
            showAmount(m_years, r, y, values[r]);
    }
    m_years->setRowHidden(m_years->rowCount() - 1, !shown.hasLoan());
    fitHeight(m_years);
    m_sentences->setText(sentences(shown, f).join(QLatin1Char('\n')));
    m_funding->showTotals();
}

void ProjectionDialog::accept()
{
    // A cell still being edited gives its amount before the dialog closes.
    m_delegate->commitOpenEditor();
    m_funding->commitEdits();
    if (const auto cents = readAmount(m_opening->text(), m_plan.currency))
        m_plan.openingCash = *cents;
    QDialog::accept();
}

// The real dialog for the prompt seam lives with the dialog, so the seam needs no
// window of the editor's.
bool QtPrompts::askProjection(FinancialPlan &plan)
{
    QWidget *parent = parentWidget() ? parentWidget() : QApplication::activeWindow();
    ProjectionDialog dialog(plan, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    plan = dialog.plan();
    return true;
}
