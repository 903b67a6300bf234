#include "steps/StepPageGroups.h"

#include "app/Navigator.h"
#include "app/PageIds.h"
#include "steps/ChoicePages.h"

void registerChoiceStepPages(Navigator &nav)
{
    nav.registerPage(QString::fromLatin1(PageId::BusType), [](AppContext &ctx) { return new BusTypePage(ctx); });
    nav.registerPage(QString::fromLatin1(PageId::BusKind), [](AppContext &ctx) { return new BusKindPage(ctx); });
}
