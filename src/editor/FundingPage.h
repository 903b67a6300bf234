#pragma once

// The dialog's Funding page: the amount requested, its term, rate and month, what it is
// for, the uses of the funds and their sources (the owner's investment, the loan and any
// other), with the totals and the difference while they do not match.

#include "plandoc/FinancialPlan.h"

#include <QWidget>

class CellDelegate;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

class FundingPage : public QWidget {
    Q_OBJECT
public:
    // Edits `plan`'s funding in place; the plan outlives the page.
    FundingPage(plandoc::finance::FinancialPlan &plan, QWidget *parent = nullptr);

    // The month list follows the projection's first month.
    void showMonths();
    // The totals, the loan and the difference after any change of the plan.
    void showTotals();
    // Hands over what an open cell editor holds.
    void commitEdits();

signals:
    void changed();
    void returnPressed();

private:
    QTableWidget *linesGrid(const char *name, const QString &accessibleName, QList<plandoc::finance::Line> &lines);
    void fillGrid(QTableWidget *grid, const QList<plandoc::finance::Line> &lines);

    plandoc::finance::FinancialPlan &m_plan;
    QLineEdit *m_requested = nullptr;
    QSpinBox *m_term = nullptr;
    QLineEdit *m_rate = nullptr;
    QComboBox *m_month = nullptr;
    QLineEdit *m_purpose = nullptr;
    QTableWidget *m_uses = nullptr;
    QLineEdit *m_own = nullptr;
    QTableWidget *m_sources = nullptr;
    QLabel *m_usesTotal = nullptr;
    QLabel *m_loan = nullptr;
    QLabel *m_sourcesTotal = nullptr;
    QLabel *m_difference = nullptr;
    QList<CellDelegate *> m_delegates;
};
