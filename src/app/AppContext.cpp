#include "app/AppContext.h"

#include "app/PageIds.h"
#include "app/Widgets.h"

#include <QApplication>

AppContext::AppContext(Prompts &p) : prompts(p), nav(*this) {}

void startProgram(AppContext &ctx)
{
    // Message boxes, tooltips and dialogs read as the pages do.
    QApplication::setFont(pageFont());
    ctx.nav.show(QString::fromLatin1(PageId::Splash));
}
