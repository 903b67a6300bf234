#include "app/AppContext.h"

#include "app/PageIds.h"
#include "app/Widgets.h"

#include <QApplication>
#include <QDate>
#include <QLocale>

AppContext::AppContext(Prompts &p) : prompts(p), nav(*this) {}

void refreshFinance(AppContext &ctx)
{
    plandoc::finance::refreshFromAnswers(ctx.finance, ctx.plan.YrIncome, ctx.plan.MoExpenses, QDate::currentDate(),
                                         QLocale().currencySymbol());
}

void startProgram(AppContext &ctx)
{
    // Message boxes, tooltips and dialogs read as the pages do.
    QApplication::setFont(pageFont());
    ctx.nav.show(QString::fromLatin1(PageId::Splash));
}
