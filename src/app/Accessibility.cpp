#include "app/Accessibility.h"

#include "app/Widgets.h"

#include <QLabel>
#include <QTextDocumentFragment>

namespace {

// The text a label shows, as one line: rich text without its markup, plain text
// without its access-key marks.
QString shownText(const QLabel *label)
{
    const QString text = label->text();
    const bool rich = label->textFormat() == Qt::RichText
        || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
    if (rich)
        return QTextDocumentFragment::fromHtml(text).toPlainText().simplified();
    return stripAccessKeys(text).simplified();
}

} // namespace

void nameControls(QWidget *window)
{
    if (!window)
        return;
    const QList<QLabel *> labels = window->findChildren<QLabel *>();
    for (QLabel *label : labels) {
        QWidget *partner = label->buddy();
        if (partner && partner->accessibleName().isEmpty()) {
            const QString name = shownText(label);
            if (!name.isEmpty())
                partner->setAccessibleName(name);
        }
    }
}
