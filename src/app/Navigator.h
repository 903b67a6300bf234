#pragma once

#include <QHash>
#include <QPointer>
#include <QString>

#include <functional>

class AppContext;
class Page;
class QWidget;

// Owns the pages: creates each on first use through its factory, shows, hides and
// forgets them, and ends the program.
class Navigator {
public:
    using Factory = std::function<Page *(AppContext &)>;

    explicit Navigator(AppContext &ctx) : m_ctx(ctx) {}
    ~Navigator();
    Navigator(const Navigator &) = delete;
    Navigator &operator=(const Navigator &) = delete;

    void registerPage(const QString &id, Factory factory);
    bool isRegistered(const QString &id) const { return m_factories.contains(id); }

    // The page if it is loaded, else null.
    Page *loaded(const QString &id) const;
    // Loads the page if needed (placement, then its own load) and returns it; null when
    // no page of that name exists yet.
    Page *load(const QString &id);
    // Loads if needed, shows and activates the page; returns it (null if none).
    Page *show(const QString &id);
    // SwitchPage: show and activate the target, then hide the page being left. Does
    // nothing when the target does not exist.
    void switchPage(QWidget *from, const QString &to);
    // Closes and destroys a page without its close handling.
    void unload(const QString &id);

    // The exit question: true for Yes.
    bool confirmExit();
    // Closes every page at once, without any page's close handling, and ends the run.
    void endProgram();
    bool isEnding() const { return m_ending; }
    bool hasEnded() const { return m_ended; }
    // What ending the run does after the pages are closed (the event loop's exit by
    // default; tests record it instead).
    void setQuitHandler(std::function<void()> quit) { m_quit = std::move(quit); }

    // Called by a page whose window closed: it is loaded afresh next time.
    void forget(Page *page);

private:
    AppContext &m_ctx;
    QHash<QString, Factory> m_factories;
    QHash<QString, QPointer<Page>> m_pages;
    bool m_ending = false;
    bool m_ended = false;
    std::function<void()> m_quit;
};
