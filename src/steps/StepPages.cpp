#include "steps/StepPages.h"

#include "steps/StepPageGroups.h"

void registerStepPages(Navigator &nav)
{
    registerTextStepPages(nav);
    registerChoiceStepPages(nav);
    registerListStepPages(nav);
}
