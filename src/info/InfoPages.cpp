#include "info/InfoPages.h"

#include "app/Navigator.h"

void registerInfoPages(Navigator &nav)
{
    (void)nav;
}
