#pragma once

#include "app/Navigator.h"
#include "plan/PlanRecord.h"

class Prompts;

// What every page shares for one run: the plan record, the shared page state, the
// prompts and the navigator. The program has one; each test builds its own.
class AppContext {
public:
    // Pages are registered by whoever runs the program (ProgramPages.h).
    explicit AppContext(Prompts &prompts);

    // The export format chosen last in this run, offered first by the next Export.
    QString exportFilter;
    PlanRecord plan;
    SharedState shared;
    Prompts &prompts;
    Navigator nav;
};

// The start-up sequence: give the program the pages' font, load the splash page (which
// loads the main, Instructions and Info pages hidden), then show it.
void startProgram(AppContext &ctx);
