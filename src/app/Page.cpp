#include "app/Page.h"

#include "app/Accessibility.h"
#include "app/AppContext.h"
#include "app/Widgets.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>

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

namespace {

QMargins g_windowFrame;

} // namespace

QPoint centredClientPos(const QRect &screen, const QSize &client, const QMargins &frame)
{
    const QSize outer = client.grownBy(frame);
    return {screen.left() + (screen.width() - outer.width()) / 2 + frame.left(),
            screen.top() + (screen.height() - outer.height()) / 2 + frame.top()};
}

QMargins Page::windowFrame() { return g_windowFrame; }

void Page::setWindowFrame(const QMargins &frame) { g_windowFrame = frame; }

void Page::placeOnScreen()
{
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    m_placedWithoutFrame = g_windowFrame.isNull();
    // The client's geometry, not move(): the frame then goes around it wherever the
    // window system puts it.
    setGeometry(QRect(centredClientPos(screen->geometry(), size(), g_windowFrame), size()));
}

bool Page::event(QEvent *event)
{
    const QEvent::Type type = event->type();
    if (m_placedWithoutFrame && (type == QEvent::Move || type == QEvent::Show || type == QEvent::WindowActivate)) {
        // The first page on the screen learns the frame once the window system has
        // framed it; it and every page placed before then are centred again, before
        // they are first seen where possible.
        if (g_windowFrame.isNull() && isVisible() && windowHandle())
            g_windowFrame = windowHandle()->frameMargins();
        if (!g_windowFrame.isNull())
            placeOnScreen();
    }
    // A control that first shows while the page is on screen (a panel opened later) gets
    // its name as it appears; the Navigator names the rest when it loads or shows the page.
    if (type == QEvent::ChildPolished && isVisible())
        nameControls(this);
    return QWidget::event(event);
}

void Page::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Hiding lets the toolkit move the focus on to the next control (when the window
    // system hands the hidden window the focus back after a message box), so the
    // control the user left comes back first; the page's own focus rule follows on
    // activation.
    if (!event->spontaneous() && m_focusWhenHidden && m_focusWhenHidden->isEnabled())
        m_focusWhenHidden->setFocus(Qt::OtherFocusReason);
}

void Page::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        m_focusWhenHidden = focusWidget();
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
