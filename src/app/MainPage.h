#pragma once

#include "app/Page.h"
#include "plan/StepState.h"

#include <array>

class QLabel;
class QPushButton;

// The contents page: sixteen entries leading to the steps, the document and the
// reference pages, Clear and Exit.
class MainPage : public Page {
    Q_OBJECT
public:
    explicit MainPage(AppContext &ctx);

    void onLoad() override;
    void onActivate() override;
    bool closeRequested() override;

private:
    // Shows each step's state mark and its words, from the plan record.
    void refreshStepMarks();
    void clearPlan();
    void exitProgram();

    std::array<QPushButton *, kStepCount> m_stepButtons{};
    std::array<QLabel *, kStepCount> m_stepLabels{};
};
