#include "steps/StepPageGroups.h"

#include "app/Navigator.h"

void registerListStepPages(Navigator &nav)
{
    (void)nav;
}
