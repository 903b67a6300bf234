#pragma once

#include "plan/PlanRecord.h"

#include <QString>

// How far a step of the plan is answered, from what the record holds (never from what
// a page shows but has not stored).
enum class StepMark { Empty, Half, Check };

struct StepState {
    int stored = 0; // answers that hold more than their initial value
    int total = 0;  // answers the step asks for

    StepMark mark() const;
    // "4 of 9 answers stored."
    QString text() const;
    bool operator==(const StepState &) const = default;
};

constexpr int kStepCount = 12;

// The state of step 1 .. 12 (step 11 counts its three pages together). The employee and
// product lists count as one answer each, stored while an entry in use names someone or something.
StepState stepState(const PlanRecord &plan, const SharedState &shared, int step);
