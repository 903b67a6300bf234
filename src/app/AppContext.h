#pragma once

#include "app/Navigator.h"
#include "formats/Pictures.h"
#include "plan/PlanRecord.h"

class Prompts;

// What every page shares for one run: the plan record, the shared page state, the
// prompts, the navigator and the cover's logo. The program has one; each test builds its own.
class AppContext {
public:
    // Pages are registered by whoever runs the program (ProgramPages.h).
    explicit AppContext(Prompts &prompts);

    PlanRecord plan;
    SharedState shared;
    Prompts &prompts;
    Navigator nav;
    // The cover's logo for the run (Insert > Cover Logo, Fill Steps); none at start.
    formats::Picture logo;
};

// The start-up sequence: give the program the pages' font, load the splash page (which
// loads the main, Instructions and Info pages hidden), then show it.
void startProgram(AppContext &ctx);
