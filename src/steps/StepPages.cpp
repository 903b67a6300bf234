#include "steps/StepPages.h"

#include "app/Navigator.h"

void registerStepPages(Navigator &nav)
{
    (void)nav;
}
