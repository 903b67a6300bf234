#include "steps/StepPageGroups.h"

#include "app/Navigator.h"

void registerTextStepPages(Navigator &nav)
{
    (void)nav;
}
