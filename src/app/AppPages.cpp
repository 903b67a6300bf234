#include "app/AppPages.h"

#include "app/MainPage.h"
#include "app/Navigator.h"
#include "app/PageIds.h"
#include "app/SplashPage.h"

void registerAppPages(Navigator &nav)
{
    nav.registerPage(QString::fromLatin1(PageId::Splash), [](AppContext &c) { return new SplashPage(c); });
    nav.registerPage(QString::fromLatin1(PageId::Main), [](AppContext &c) { return new MainPage(c); });
}
