#pragma once

// The Financial Projection dialog: the twelve months' income and expenses in a grid
// whose Net and Cumulative rows and Total column follow the typing, the opening cash,
// the currency sign and the first month. Return accepts it from anywhere; a cell being
// edited keeps what was typed in it.

#include "plandoc/Projection.h"

#include <QDialog>

class AmountDelegate;
class QDateEdit;
class QLineEdit;
class QTableWidget;

class ProjectionDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProjectionDialog(const plandoc::projection::Input &initial, QWidget *parent = nullptr);

    // The figures as given: a cell's amount counts once its editor hands it over (on
    // leaving the cell, or on OK).
    plandoc::projection::Input input() const { return m_input; }

    QTableWidget *grid() const { return m_grid; }

    void accept() override;

private:
    void showMonths();
    void showAmount(int row, int column, plandoc::projection::Cents amount);
    void recompute(const plandoc::projection::Input &input);
    void cellEdited(int row, int column, const QString &text, bool final);

    plandoc::projection::Input m_input;
    QTableWidget *m_grid = nullptr;
    AmountDelegate *m_delegate = nullptr;
    QLineEdit *m_opening = nullptr;
    QLineEdit *m_currency = nullptr;
    QDateEdit *m_firstMonth = nullptr;
};
