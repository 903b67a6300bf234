#include "info/CreditsPage.h"

#include "app/AppContext.h"
#include "app/PageIds.h"
#include "app/Widgets.h"
#include "info/InfoTexts.h"
#include "info/StarOutline.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QRegion>
#include <QScreen>

#include <algorithm>

namespace {

// The star's centre in window pixels; the text and the button sit around it.
const QPoint kStarCentre(200, 150);

} // namespace

CreditsPage::CreditsPage(AppContext &ctx) : Page(ctx, PageId::Credits2, 6945, 5295)
{
    setWindowTitle(InfoText::CreditsTitle);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);

    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 128));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    auto *text = makeLabel(this, "Label1", InfoText::CreditsText, arialFont(8.25));
    text->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    // The widest box that stays inside the star's arms above its centre line.
    text->setGeometry(kStarCentre.x() - 90, 96, 180, 86);

    auto *close = makeButton(this, "cmdClose", InfoText::CloseCaption, InfoText::CloseTip);
    close->setFont(arialFont(8.25));
    close->setGeometry(kStarCentre.x() - 40, 186, 80, 24);
    close->setFocus();
    connect(close, &QPushButton::clicked, this, [this] { backToInfo(); });
}

void CreditsPage::onLoad() { setMask(QRegion(creditsStarOutline(), Qt::OddEvenFill)); }

void CreditsPage::onActivate()
{
    if (auto *close = findChild<QPushButton *>(QStringLiteral("cmdClose")))
        close->setFocus();
}

void CreditsPage::placeOnScreen()
{
    // The star's centre over the Info page's centre, or over the screen's.
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    Page *info = m_ctx.nav.loaded(QString::fromLatin1(PageId::Info));
    const QRect over = info ? info->frameGeometry() : area;
    if (!over.isValid())
        return;
    QPoint topLeft = over.center() - kStarCentre;
    // Keep the whole star on the screen even when the Info page was dragged to an edge.
    const QSize star(400, 300);
    if (area.isValid()) {
        topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - star.width())));
        topLeft.setY(std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - star.height())));
    }
    move(topLeft);
}

void CreditsPage::backToInfo() { m_ctx.nav.switchPage(this, QString::fromLatin1(PageId::Info)); }

bool CreditsPage::closeRequested()
{
    // Without a title bar only the system's shortcut gets here; it acts as Close, so
    // the Info page never stays hidden, and the star is kept for the next visit.
    backToInfo();
    return false;
}
