#include "document/DocumentPages.h"

#include "app/Navigator.h"

void registerDocumentPages(Navigator &nav)
{
    (void)nav;
}
