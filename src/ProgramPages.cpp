#include "ProgramPages.h"

#include "app/AppPages.h"
#include "editor/EditorPages.h"
#include "info/InfoPages.h"
#include "steps/StepPages.h"

void registerProgramPages(Navigator &nav)
{
    registerAppPages(nav);
    registerStepPages(nav);
    registerEditorPages(nav);
    registerInfoPages(nav);
}
