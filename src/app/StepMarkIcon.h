#pragma once

#include "plan/StepState.h"

#include <QIcon>

// The mark a step's square button on the main page shows: nothing for a step with no
// stored answer, a half-filled ring for some, a check for a complete step. Drawn by the
// program at any size, so it looks the same in every style and at every scale.
QIcon stepMarkIcon(StepMark mark);
