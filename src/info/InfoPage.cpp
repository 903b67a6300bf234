#include "info/InfoPage.h"

#include "app/AppContext.h"
#include "app/ClickLabel.h"
#include "app/PageIds.h"
#include "app/Widgets.h"
#include "info/InfoTexts.h"

#include <QPainter>
#include <QPushButton>

InfoPage::InfoPage(AppContext &ctx) : Page(ctx, PageId::Info, 6195, 3990)
{
    setWindowTitle(InfoText::InfoTitle);

    auto *picture = new ClickLabel(this, "Picture1");
    picture->setPixmap(infoPicture());
    picture->setToolTip(InfoText::PictureTip);
    picture->setAccessibleName(QStringLiteral("Credits"));
    picture->setGeometry(twips(240), twips(240), 32, 32);

    auto *about = makeLabel(this, "Label1", InfoText::InfoAbout, font());
    about->setGeometry(twipsRect(1200, 240, 4800, 1320));

    m_contact = makeLabel(this, "lblAddy", QString(), font());
    m_contact->setWordWrap(false);
    m_contact->setGeometry(twipsRect(1200, 1680, 3855, 1455));

    auto *history = new ClickLabel(this, "Label2");
    history->setText(InfoText::VersionHxLink);
    history->setToolTip(InfoText::VersionHxTip);
    QFont link = font();
    link.setUnderline(true);
    history->setFont(link);
    history->setGeometry(twipsRect(120, 3720, 1500, 255));

    auto *close = makeButton(this, "cmdClose", InfoText::CloseCaption, InfoText::CloseTip);
    close->setGeometry(twipsRect(4980, 3360, 1095, 495));

    chainTabOrder({close, history, picture});
    close->setFocus();

    connect(picture, &ClickLabel::clicked, this,
            [this] { m_ctx.nav.switchPage(this, QString::fromLatin1(PageId::Credits2)); });
    connect(history, &ClickLabel::clicked, this, [this] { m_ctx.nav.show(QString::fromLatin1(PageId::VersionHx)); });
    connect(close, &QPushButton::clicked, this, [this] { closePage(); });
}

void InfoPage::onActivate() { m_contact->setText(InfoText::InfoContact.join(QLatin1Char('\n'))); }

void InfoPage::closePage()
{
    const QString origin = m_ctx.shared.InfoOrigin;
    if (origin == QLatin1String("M"))
        m_ctx.nav.switchPage(this, QString::fromLatin1(PageId::Main));
    else if (origin == QLatin1String("S"))
        m_ctx.nav.switchPage(this, QString::fromLatin1(PageId::Splash));
    m_ctx.shared.InfoOrigin = QStringLiteral("N");
}

bool InfoPage::closeRequested()
{
    // InfoOrigin stays as it is: the page shown next resets it when it activates.
    const QString origin = m_ctx.shared.InfoOrigin;
    if (origin == QLatin1String("M")) {
        if (m_ctx.nav.confirmExit()) {
            m_ctx.nav.endProgram();
            return true;
        }
        m_ctx.nav.show(QString::fromLatin1(PageId::Main));
    } else if (origin == QLatin1String("S")) {
        m_ctx.nav.show(QString::fromLatin1(PageId::Splash));
    }
    return true;
}

QPixmap InfoPage::infoPicture()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    p.drawEllipse(QRectF(0.5, 0.5, 31, 31));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(13.5, 5.5, 5, 5));        // the dot
    p.drawRoundedRect(QRectF(13.5, 12.5, 5, 14), 1, 1); // the stem
    return pm;
}
