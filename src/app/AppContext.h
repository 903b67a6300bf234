#pragma once

#include "app/Navigator.h"
#include "formats/Pictures.h"
#include "plan/PlanRecord.h"
#include "plandoc/FinancialPlan.h"

class Prompts;

// What every page shares for one run: the plan record, the shared page state, the
// financial plan (held beside the answers, never written on its own), the cover's logo,
// the prompts and the navigator. The program has one; each test builds its own.
class AppContext {
public:
    // Pages are registered by whoever runs the program (ProgramPages.h).
    explicit AppContext(Prompts &prompts);

    // The export format chosen last in this run, offered first by the next Export.
    QString exportFilter;
    PlanRecord plan;
    SharedState shared;
    plandoc::finance::FinancialPlan finance;
    Prompts &prompts;
    Navigator nav;
    // The cover's logo for the run (Insert > Cover Logo, Fill Steps); none at start.
    formats::Picture logo;
};

// The financial plan as the answers now stand: its months read again from step 11's
// answers when they changed since, the owner's corrections kept otherwise.
void refreshFinance(AppContext &ctx);

// The start-up sequence: give the program the pages' font, load the splash page (which
// loads the main, Instructions and Info pages hidden), then show it.
void startProgram(AppContext &ctx);
