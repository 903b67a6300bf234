#include "info/InstructionsPage.h"

#include "app/AppContext.h"
#include "app/PageIds.h"
#include "app/Widgets.h"
#include "info/InfoLayout.h"
#include "info/InfoTexts.h"

#include <QPushButton>

InstructionsPage::InstructionsPage(AppContext &ctx) : Page(ctx, PageId::Instruc, 6990, 4590)
{
    setWindowTitle(InfoText::InstrucTitle);
    m_why = makeLabel(this, "Label1", QString(), paragraphFont());
    m_how = makeLabel(this, "Label2", QString(), paragraphFont());

    auto *distribution = makeButton(this, "cmdDistribution", InfoText::DistributionCaption, InfoText::DistributionTip);
    auto *warranty = makeButton(this, "cmdWarranty", InfoText::WarrantyCaption, InfoText::WarrantyTip);
    auto *shareware = makeButton(this, "cmdShareware", InfoText::SharewareCaption, InfoText::SharewareTip);
    auto *back = makeButton(this, "cmdReturn", InfoText::ReturnCaption, InfoText::ReturnTip);
    distribution->setGeometry(twipsRect(120, 3960, 1560, 495));
    warranty->setGeometry(twipsRect(1800, 3960, 1440, 495));
    shareware->setGeometry(twipsRect(3360, 3960, 1560, 495));
    back->setGeometry(twipsRect(5040, 3960, 1830, 495));
    chainTabOrder({distribution, warranty, shareware, back});
    back->setFocus();

    connect(distribution, &QPushButton::clicked, this,
            [this] { m_ctx.nav.show(QString::fromLatin1(PageId::Distribution)); });
    connect(shareware, &QPushButton::clicked, this, [this] { m_ctx.nav.show(QString::fromLatin1(PageId::Share)); });
    connect(warranty, &QPushButton::clicked, this,
            [this] { m_ctx.nav.switchPage(this, QString::fromLatin1(PageId::Warranty)); });
    connect(back, &QPushButton::clicked, this, [this] { m_ctx.nav.switchPage(this, QString::fromLatin1(PageId::Main)); });
}

void InstructionsPage::onActivate()
{
    m_why->setText(InfoText::InstrucWhy);
    m_how->setText(InfoText::InstrucHow);
    stackLabels({{m_why, 0}, {m_how, 1}}, twips(120), twips(120), width() - 2 * twips(120));
}

bool InstructionsPage::closeRequested()
{
    if (m_ctx.nav.confirmExit()) {
        m_ctx.nav.endProgram();
        return true;
    }
    m_ctx.nav.show(QString::fromLatin1(PageId::Main));
    return true;
}
