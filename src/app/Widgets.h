#pragma once

// Small helpers that every page uses to lay out its controls in twips and to give
// them the program's fonts, captions and keyboard behaviour.

#include "app/ClickLabel.h"

#include <QFont>
#include <QRect>
#include <QString>

#include <initializer_list>

class QPushButton;
class QWidget;

// 15 twips make one pixel at 96 dpi; Qt scales logical pixels on high-dpi screens.
inline int twips(int t) { return (t + 7) / 15; }
inline QRect twipsRect(int left, int top, int width, int height)
{
    return {twips(left), twips(top), twips(width), twips(height)};
}

QFont arialFont(double points, bool bold = false);
// The font of the pages, which is also the program's own for message boxes, tooltips
// and dialogs.
QFont pageFont();
// The bold Arial 9.75 pt of question labels and headings.
QFont questionFont();

// A push button that answers Space, Enter and Return while it has the focus, as on any
// desktop form; no page has a default button.
QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, const QString &tooltip = {});

// Tab moves through the widgets in the order given.
void chainTabOrder(std::initializer_list<QWidget *> widgets);

// A plain word-wrapping label.
QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QFont &font);

// The letter after a single "&" of a caption, or a null QChar.
QChar accessKey(const QString &caption);
// A caption without its access-key marks ("&&" becomes "&").
QString stripAccessKeys(const QString &caption);

// Alt+key of the caption moves the focus to the target; it never clicks it, so
// Alt+key followed by Space acts once.
void addFocusShortcut(QWidget *window, const QString &caption, QWidget *target);

// A label whose caption carries an access key: shown underlined, spaces kept; the key
// moves the focus to its partner, which the label itself never takes. Clicking the
// label emits clicked().
class AccessLabel : public ClickLabel {
    Q_OBJECT
public:
    AccessLabel(QWidget *parent, const char *name, const QString &caption, QWidget *focusTarget);
    QString caption() const { return m_caption; }

private:
    QString m_caption;
};
