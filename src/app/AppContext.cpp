#include "app/AppContext.h"

#include "app/AppPages.h"
#include "app/PageIds.h"
#include "document/DocumentPages.h"
#include "info/InfoPages.h"
#include "steps/StepPages.h"

AppContext::AppContext(Prompts &p, bool registerPages) : prompts(p), nav(*this)
{
    if (registerPages) {
        registerAppPages(nav);
        registerStepPages(nav);
        registerDocumentPages(nav);
        registerInfoPages(nav);
    }
}

void startProgram(AppContext &ctx) { ctx.nav.show(QString::fromLatin1(PageId::Splash)); }
