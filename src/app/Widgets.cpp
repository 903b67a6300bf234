#include "app/Widgets.h"

#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>

QFont arialFont(double points, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QFont pageFont() { return arialFont(8.25); }

QFont questionFont() { return arialFont(9.75, true); }

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, const QString &tooltip)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tooltip);
    b->setAutoDefault(true);
    b->setDefault(false);
    return b;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QFont &font)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(font);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QChar accessKey(const QString &caption)
{
    for (int i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (caption[i + 1] != QLatin1Char('&'))
                return caption[i + 1];
            ++i;
        }
    }
    return {};
}

QString stripAccessKeys(const QString &caption)
{
    QString out;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        out += caption[i];
    }
    return out;
}

void addFocusShortcut(QWidget *window, const QString &caption, QWidget *target)
{
    const QChar key = accessKey(caption);
    if (key.isNull())
        return;
    auto *sc = new QShortcut(QKeySequence(QStringLiteral("Alt+") + key.toUpper()), window);
    sc->setContext(Qt::WindowShortcut);
    QObject::connect(sc, &QShortcut::activated, target, [target] { target->setFocus(Qt::ShortcutFocusReason); });
}

namespace {

// Rich text that shows the caption as the toolkit shows a mnemonic: the access letter
// underlined, "&&" as "&", and runs of spaces kept.
QString accessCaptionHtml(const QString &caption)
{
    QString html = QStringLiteral("<span style=\"white-space:pre\">");
    bool underlined = false;
    for (int i = 0; i < caption.size(); ++i) {
        QChar c = caption[i];
        bool mark = false;
        if (c == QLatin1Char('&') && i + 1 < caption.size()) {
            ++i;
            c = caption[i];
            mark = c != QLatin1Char('&') && !underlined;
        }
        const QString piece = QString(c).toHtmlEscaped();
        if (mark) {
            html += QStringLiteral("<u>") + piece + QStringLiteral("</u>");
            underlined = true;
        } else {
            html += piece;
        }
    }
    return html + QStringLiteral("</span>");
}

} // namespace

AccessLabel::AccessLabel(QWidget *parent, const char *name, const QString &caption, QWidget *focusTarget)
    : ClickLabel(parent, name), m_caption(caption)
{
    setFocusPolicy(Qt::NoFocus);
    setTextFormat(Qt::RichText);
    setText(accessCaptionHtml(caption));
    setAccessibleName(stripAccessKeys(caption));
    if (focusTarget) {
        addFocusShortcut(parent->window(), caption, focusTarget);
        // The partner is announced by this caption (a blank button beside it, say).
        if (focusTarget->accessibleName().isEmpty())
            focusTarget->setAccessibleName(stripAccessKeys(caption).simplified());
    }
}

void chainTabOrder(std::initializer_list<QWidget *> widgets)
{
    QWidget *const *w = widgets.begin();
    for (std::size_t i = 1; i < widgets.size(); ++i)
        QWidget::setTabOrder(w[i - 1], w[i]);
}
