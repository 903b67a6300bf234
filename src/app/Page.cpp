#include "app/Page.h"

#include "app/AppContext.h"
#include "app/Widgets.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

Page::Page(AppContext &ctx, const char *name, int widthTwips, int heightTwips, bool fixedSize)
    : QWidget(nullptr), m_ctx(ctx)
{
    setObjectName(QString::fromLatin1(name));
    setAttribute(Qt::WA_DeleteOnClose);
    const QSize size(twips(widthTwips), twips(heightTwips));
    if (fixedSize) {
        setFixedSize(size);
        setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
    } else {
        resize(size);
    }
    setFont(pageFont());
}

void Page::placeOnScreen()
{
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void Page::closeEvent(QCloseEvent *event)
{
    if (m_ctx.nav.isEnding() || closeRequested()) {
        event->accept();
        m_ctx.nav.forget(this);
    } else {
        event->ignore();
    }
}
