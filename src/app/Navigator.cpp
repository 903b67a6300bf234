#include "app/Navigator.h"

#include "app/Accessibility.h"
#include "app/AppContext.h"
#include "app/Page.h"
#include "app/Prompts.h"

#include <QGuiApplication>

Navigator::~Navigator()
{
    m_ending = true;
    for (const QPointer<Page> &p : std::as_const(m_pages))
        delete p.data();
}

void Navigator::registerPage(const QString &id, Factory factory) { m_factories.insert(id, std::move(factory)); }

Page *Navigator::loaded(const QString &id) const { return m_pages.value(id).data(); }

Page *Navigator::load(const QString &id)
{
    if (Page *p = loaded(id))
        return p;
    const auto it = m_factories.constFind(id);
    if (it == m_factories.constEnd())
        return nullptr;
    Page *page = (*it)(m_ctx);
    m_pages.insert(id, page);
    page->placeOnScreen();
    page->onLoad();
    nameControls(page);
    return page;
}

Page *Navigator::show(const QString &id)
{
    Page *page = load(id);
    if (!page || m_ending)
        return page;
    page->show();
    // Screenless test runs have nothing to stack windows on.
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        page->raise();
    page->activateWindow();
    page->onActivate();
    // Activation may have added controls.
    nameControls(page);
    return page;
}

void Navigator::switchPage(QWidget *from, const QString &to)
{
    Page *target = show(to);
    if (!target || m_ending)
        return;
    if (from && from != target)
        from->hide();
}

void Navigator::unload(const QString &id)
{
    Page *page = m_pages.take(id).data();
    delete page;
}

bool Navigator::confirmExit() { return m_ctx.prompts.confirmExit(); }

void Navigator::endProgram()
{
    if (m_ending)
        return;
    m_ending = true;
    const auto pages = m_pages.values();
    for (const QPointer<Page> &p : pages)
        if (p)
            p->close();
    m_ended = true;
    if (m_quit)
        m_quit();
    else
        QGuiApplication::exit(0);
}

void Navigator::forget(Page *page)
{
    for (auto it = m_pages.begin(); it != m_pages.end(); ++it) {
        if (it.value() == page) {
            if (!m_ending)
                m_pages.erase(it);
            return;
        }
    }
}
