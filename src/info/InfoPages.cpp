#include "info/InfoPages.h"

#include "app/Navigator.h"
#include "app/PageIds.h"
#include "info/CreditsPage.h"
#include "info/InfoPage.h"
#include "info/InstructionsPage.h"
#include "info/SidePage.h"

void registerInfoPages(Navigator &nav)
{
    const auto id = [](const char *name) { return QString::fromLatin1(name); };
    nav.registerPage(id(PageId::Instruc), [](AppContext &c) { return new InstructionsPage(c); });
    nav.registerPage(id(PageId::Info), [](AppContext &c) { return new InfoPage(c); });
    nav.registerPage(id(PageId::Share), makeSharePage);
    nav.registerPage(id(PageId::Distribution), makeDistributionPage);
    nav.registerPage(id(PageId::Warranty), makeWarrantyPage);
    nav.registerPage(id(PageId::VersionHx), [](AppContext &c) { return new VersionHistoryPage(c); });
    nav.registerPage(id(PageId::Credits2), [](AppContext &c) { return new CreditsPage(c); });
}
