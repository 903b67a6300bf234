#include "document/DocumentPages.h"

#include "app/Navigator.h"
#include "app/PageIds.h"
#include "document/EditorPage.h"

void registerDocumentPages(Navigator &nav)
{
    nav.registerPage(QString::fromLatin1(PageId::TxtEditor), [](AppContext &c) { return new EditorPage(c); });
}
