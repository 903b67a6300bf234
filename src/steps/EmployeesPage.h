#pragma once

#include "steps/StepPage.h"

#include <array>

class QLabel;
class QLineEdit;
class QListWidget;

// Step 8: up to ten employees, one line each. The labels are the working copy; the
// slot flags beside the plan record decide which line the next entry takes.
class EmployeesPage : public StepPage {
    Q_OBJECT
public:
    static constexpr int Lines = 10;

    explicit EmployeesPage(AppContext &ctx);

    void onLoad() override;
    void onActivate() override;

protected:
    // The save question on return: the typed text goes, without a number, into the
    // lowest free line.
    void storeToPlan() override;
    // With all ten lines in use the typed text has nowhere to go: say so and stay.
    bool canStoreOnLeave() override;

private:
    void saveAndNext();
    void storeLine(int index);
    void clearOne();
    void clearAll();
    void tellFull();

    // The smallest free line (0-based), or -1 when all ten are in use.
    int lowestFreeLine() const;
    void setLine(int index, const QString &caption);

    QLineEdit *m_entry = nullptr;
    QListWidget *m_list = nullptr;
    std::array<QLabel *, Lines> m_lines{};
};
