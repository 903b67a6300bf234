#pragma once

// The Financial Projection dialog over the run's financial plan, on three pages: the
// twelve months (income and expenses in a grid whose other rows and totals follow the
// typing, the opening cash, the cost of sales, the currency and the first month, with a
// line for every figure read from the answers that deserves a look), the funding, and
// the three years. The sentences a lender reads stand under the pages. Return accepts it
// from anywhere; a cell being edited keeps what was typed in it; Cancel keeps nothing.

#include "plandoc/FinancialPlan.h"

#include <QDialog>

class CellDelegate;
class FundingPage;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTableWidget;
class QTabWidget;

class ProjectionDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProjectionDialog(const plandoc::finance::FinancialPlan &initial, QWidget *parent = nullptr);
    ~ProjectionDialog() override;

    // The figures as given: a cell's amount counts once its editor hands it over (on
    // leaving the cell, or on OK).
    plandoc::finance::FinancialPlan plan() const { return m_plan; }

    QTableWidget *grid() const { return m_grid; }

    void accept() override;

private:
    QWidget *monthsPage();
    QWidget *yearsPage();
    void showMonths();
    void showAmount(QTableWidget *grid, int row, int column, plandoc::finance::Cents amount);
    void showChecks();
    void recompute(const plandoc::finance::FinancialPlan &shown);
    void cellEdited(int row, int column, const QString &text, bool final);

    plandoc::finance::FinancialPlan m_plan;
    QTabWidget *m_tabs = nullptr;
    QTableWidget *m_grid = nullptr;
    QTableWidget *m_years = nullptr;
    CellDelegate *m_delegate = nullptr;
    FundingPage *m_funding = nullptr;
    QLineEdit *m_opening = nullptr;
    QLineEdit *m_currency = nullptr;
    QDateEdit *m_firstMonth = nullptr;
    QLabel *m_checks = nullptr;
    QLabel *m_sentences = nullptr;
};
