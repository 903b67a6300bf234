#include "app/AppContext.h"

#include "app/AppPages.h"
#include "app/PageIds.h"
#include "app/Widgets.h"
#include "document/DocumentPages.h"
#include "info/InfoPages.h"
#include "steps/StepPages.h"

#include <QApplication>

AppContext::AppContext(Prompts &p, bool registerPages) : prompts(p), nav(*this)
{
    if (registerPages) {
        registerAppPages(nav);
        registerStepPages(nav);
        registerDocumentPages(nav);
        registerInfoPages(nav);
    }
}

void startProgram(AppContext &ctx)
{
    // Message boxes, tooltips and dialogs read as the pages do.
    QApplication::setFont(pageFont());
    ctx.nav.show(QString::fromLatin1(PageId::Splash));
}
