#pragma once

#include "steps/StepPage.h"

#include <array>

class QLabel;
class QListWidget;

// Step 9, the view page: the five stored entries, and deleting one or all of them.
// It edits no box, so it has nothing to save; it shares the step pages' close rule.
class ProductsViewPage : public StepPage {
    Q_OBJECT
public:
    static constexpr int Entries = 5;
    static constexpr int Answers = 5; // name, description, produced, compare, differ

    explicit ProductsViewPage(AppContext &ctx);

    void onLoad() override;
    void onActivate() override;

    // Copies the plan fields into the labels.
    void RefreshView();

protected:
    void storeToPlan() override {}

private:
    void clearOne();
    void clearAll();
    void clearEntry(int slot);

    std::array<std::array<QLabel *, Answers>, Entries> m_lines{};
    QListWidget *m_list = nullptr;
};
