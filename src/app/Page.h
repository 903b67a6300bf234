#pragma once

#include <QMargins>
#include <QPointer>
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

    // Centre the whole window, frame included, on the screen, as every page does when
    // it loads.
    virtual void placeOnScreen();

    // The frame the window system draws around a page, learnt from the first page it
    // frames; null until then (and without a window system, as in tests).
    static QMargins windowFrame();
    static void setWindowFrame(const QMargins &frame);

    AppContext &context() const { return m_ctx; }

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

    AppContext &m_ctx;

private:
    // Placed before the frame's size was known; placed again once it is.
    bool m_placedWithoutFrame = false;
    // The control that had the focus when the page was hidden.
    QPointer<QWidget> m_focusWhenHidden;
};

// Top-left of the client area that centres a window of that client size and frame.
QPoint centredClientPos(const QRect &screen, const QSize &client, const QMargins &frame);
