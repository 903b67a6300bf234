#include "steps/StepPageGroups.h"

#include "app/Navigator.h"
#include "app/PageIds.h"
#include "steps/EmployeesPage.h"
#include "steps/ProductsPage.h"
#include "steps/ProductsViewPage.h"

void registerListStepPages(Navigator &nav)
{
    nav.registerPage(QString::fromLatin1(PageId::BusEmp), [](AppContext &c) { return new EmployeesPage(c); });
    nav.registerPage(QString::fromLatin1(PageId::BusDesc), [](AppContext &c) { return new ProductsPage(c); });
    nav.registerPage(QString::fromLatin1(PageId::View), [](AppContext &c) { return new ProductsViewPage(c); });
}
