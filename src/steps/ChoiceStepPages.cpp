#include "steps/StepPageGroups.h"

#include "app/Navigator.h"

void registerChoiceStepPages(Navigator &nav)
{
    (void)nav;
}
