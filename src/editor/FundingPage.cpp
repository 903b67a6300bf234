#include "editor/FundingPage.h"

#include "editor/AmountFields.h"
#include "plandoc/FinancialText.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace plandoc::finance;

FundingPage::FundingPage(FinancialPlan &plan, QWidget *parent) : QWidget(parent), m_plan(plan)
{
    setObjectName(QStringLiteral("pgFunding"));
    Funding &f = m_plan.funding;
    const auto currency = [this] { return m_plan.currency; };
    const auto amountField = [&](const char *name, Cents &target) {
        QLineEdit *edit = amountEdit(this, name, currency);
        edit->setText(formatAmount(target));
        connect(edit, &QLineEdit::textEdited, this, [this, &target](const QString &text) {
            if (const auto cents = readAmount(text, m_plan.currency)) {
                target = std::clamp(*cents, Cents(0), MaxAmount);
                showTotals();
                emit changed();
            }
        });
        return edit;
    };
    m_requested = amountField("txtRequested", f.requested);
    m_requested->setToolTip(QStringLiteral("The loan you ask for; leave it at 0 when you ask for none."));
    m_own = amountField("txtOwnInvestment", f.ownInvestment);

    m_term = new QSpinBox(this);
    m_term->setObjectName(QStringLiteral("spnTerm"));
    m_term->setRange(MinTermYears, MaxTermYears);
    m_term->setValue(f.termYears);
    connect(m_term, &QSpinBox::valueChanged, this, [this](int years) {
        m_plan.funding.termYears = years;
        emit changed();
    });
    m_rate = rateEdit(this, "txtRate");
    m_rate->setText(formatRate(f.rate));
    connect(m_rate, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (const auto rate = parseRate(text)) {
            m_plan.funding.rate = *rate;
            emit changed();
        }
    });
    m_month = new QComboBox(this);
    m_month->setObjectName(QStringLiteral("cboFundingMonth"));
    showMonths();
    connect(m_month, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_plan.funding.month = std::clamp(index + 1, 1, Months);
        emit changed();
    });
    m_purpose = new QLineEdit(f.purpose, this);
    m_purpose->setObjectName(QStringLiteral("txtPurpose"));
    m_purpose->setPlaceholderText(QStringLiteral("to buy a second deck oven and a proofing cabinet"));
    connect(m_purpose, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_plan.funding.purpose = text;
        emit changed();
    });

    m_uses = linesGrid("grdUses", QStringLiteral("Uses of funds"), f.uses);
    m_sources = linesGrid("grdSources", QStringLiteral("Other sources of funds"), f.otherSources);
    m_usesTotal = new QLabel(this);
    m_loan = new QLabel(this);
    m_sourcesTotal = new QLabel(this);
    m_difference = new QLabel(this);
    m_difference->setObjectName(QStringLiteral("lblDifference"));

    for (QLineEdit *amount : {m_requested, m_own})
        amount->setFixedWidth(amountFieldWidth(fontMetrics()));
    m_rate->setFixedWidth(rateFieldWidth(fontMetrics()));
    m_term->setFixedWidth(rateFieldWidth(fontMetrics()));
    m_month->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("September 2027")) + 48);

    auto *form = new QFormLayout;
    form->addRow(buddyLabel(QStringLiteral("Amount &requested:"), m_requested, this), m_requested);
    form->addRow(buddyLabel(QStringLiteral("&Term in years:"), m_term, this), m_term);
    form->addRow(buddyLabel(QStringLiteral("Yearly &interest rate (%):"), m_rate, this), m_rate);
    form->addRow(buddyLabel(QStringLiteral("&When the money comes in:"), m_month, this), m_month);
    form->addRow(buddyLabel(QStringLiteral("&Purpose:"), m_purpose, this), m_purpose);

    auto *uses = new QVBoxLayout;
    uses->addWidget(buddyLabel(QStringLiteral("&Uses of funds (equipment, stock, working capital...):"), m_uses, this));
    uses->addWidget(m_uses, 1);
    uses->addWidget(m_usesTotal);
    auto *sources = new QVBoxLayout;
    auto *own = new QHBoxLayout;
    own->addWidget(buddyLabel(QStringLiteral("Own&er's investment:"), m_own, this));
    own->addWidget(m_own);
    own->addStretch(1);
    sources->addLayout(own);
    sources->addWidget(m_loan);
    sources->addWidget(buddyLabel(QStringLiteral("Ot&her sources:"), m_sources, this));
    sources->addWidget(m_sources, 1);
    sources->addWidget(m_sourcesTotal);
    auto *columns = new QHBoxLayout;
    columns->addLayout(uses, 1);
    columns->addSpacing(18);
    columns->addLayout(sources, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(6);
    layout->addLayout(columns, 1);
    layout->addWidget(m_difference);
    QWidget *const order[] = {m_requested, m_term, m_rate, m_month, m_purpose, m_uses, m_own, m_sources};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    showTotals();
}

QTableWidget *FundingPage::linesGrid(const char *name, const QString &accessibleName, QList<Line> &lines)
{
    auto *grid = new QTableWidget(0, 2, this);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setAccessibleName(accessibleName);
    grid->setHorizontalHeaderLabels({QStringLiteral("Item"), QStringLiteral("Amount")});
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Fixed);
    grid->horizontalHeader()->resizeSection(1, fontMetrics().horizontalAdvance(QStringLiteral("-000,000,000.00")) + 12);
    grid->setTabKeyNavigation(false);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setMinimumHeight(grid->horizontalHeader()->sizeHint().height() + 4 * grid->verticalHeader()->defaultSectionSize());
    auto *delegate = new CellDelegate([this] { return m_plan.currency; }, [](int column) { return column == 1; }, grid);
    grid->setItemDelegate(delegate);
    m_delegates << delegate;
    // The last row is always empty, for the next line; a line emptied of both goes.
    connect(delegate, &CellDelegate::edited, this, [this, &lines](int row, int column, const QString &text, bool final) {
        if (!final || (row >= lines.size() && text.trimmed().isEmpty()))
            return;
        if (row >= lines.size())
            lines.append(Line{});
        if (column == 0)
            lines[row].item = text.trimmed();
        else if (const auto cents = readAmount(text, m_plan.currency))
            lines[row].amount = std::clamp(*cents, Cents(0), MaxAmount);
    });
    connect(delegate, &CellDelegate::editorClosed, this, [this, grid, &lines] {
        lines.removeIf([](const Line &l) { return l.item.isEmpty() && l.amount == 0; });
        fillGrid(grid, lines);
        showTotals();
        emit changed();
    });
    connect(delegate, &CellDelegate::returnPressed, this, &FundingPage::returnPressed);
    fillGrid(grid, lines);
    return grid;
}

void FundingPage::fillGrid(QTableWidget *grid, const QList<Line> &lines)
{
    grid->setRowCount(int(lines.size()) + 1);
    for (int r = 0; r <= lines.size(); ++r) {
        const bool filled = r < lines.size();
        auto *item = new QTableWidgetItem(filled ? lines[r].item : QString());
        auto *amount = new QTableWidgetItem(filled ? formatAmount(lines[r].amount) : QString());
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->setItem(r, 0, item);
        grid->setItem(r, 1, amount);
    }
}

void FundingPage::showMonths()
{
    const QSignalBlocker quiet(m_month);
    m_month->clear();
    for (int m = 0; m < Months; ++m)
        m_month->addItem(longMonthName(m_plan.firstMonth, m));
    m_month->setCurrentIndex(std::clamp(m_plan.funding.month, 1, Months) - 1);
}

void FundingPage::showTotals()
{
    const Figures f = compute(m_plan);
    m_usesTotal->setText(QStringLiteral("Total uses: %1").arg(formatAmount(f.usesTotal)));
    m_loan->setText(QStringLiteral("Loan: %1").arg(formatAmount(m_plan.funding.requested)));
    m_sourcesTotal->setText(QStringLiteral("Total sources: %1").arg(formatAmount(f.sourcesTotal)));
    // Without a loan the plan shows no sources and uses to weigh.
    m_difference->setText(m_plan.hasLoan() ? differenceSentence(f) : QString());
    m_difference->setVisible(!m_difference->text().isEmpty());
}

void FundingPage::commitEdits()
{
    for (CellDelegate *d : std::as_const(m_delegates))
        d->commitOpenEditor();
}
