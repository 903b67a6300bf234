#pragma once

#include <QWidget>

class AppContext;
class QCloseEvent;

// Base of every window of the program. The Navigator loads a page once (onLoad), raises
// onActivate each time it shows the page, and asks closeRequested() when the user
// closes the window. Activation is the program's own event, not window focus, so a
// closing message box never reloads a page.
class Page : public QWidget {
    Q_OBJECT
public:
    // Client size in twips; a fixed-size page cannot be resized by the user.
    Page(AppContext &ctx, const char *name, int widthTwips, int heightTwips, bool fixedSize = true);

    virtual void onLoad() {}
    virtual void onActivate() {}
    // Called when the user closes the window; returns whether it may close. A page
    // that closes is destroyed and loaded afresh on its next use.
    virtual bool closeRequested() { return true; }

    // Centre on the screen from the client size, as every page does when it loads.
    virtual void placeOnScreen();

    AppContext &context() const { return m_ctx; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

    AppContext &m_ctx;
};
