#include "editor/EditorPages.h"

#include "app/Navigator.h"
#include "app/PageIds.h"
#include "editor/EditorPage.h"

void registerEditorPages(Navigator &nav)
{
    nav.registerPage(QString::fromLatin1(PageId::TxtEditor), [](AppContext &c) { return new EditorPage(c); });
}
