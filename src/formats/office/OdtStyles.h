#pragma once

// The automatic styles of an OpenDocument text's content: each set of paragraph, text,
// table and list properties is written once, under a name the body refers to.

#include "formats/office/OfficeLayout.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QXmlStreamWriter>

#include <utility>

class QTextCharFormat;
class QTextList;

namespace formats::office::odt {

using Attributes = QList<std::pair<QString, QString>>;

// "12.50pt".
inline QString pt(double v) { return QString::number(v, 'f', 2) + QStringLiteral("pt"); }

class AutomaticStyles {
public:
    AutomaticStyles() : m_w(&m_bytes) { m_fonts << QStringLiteral("Arial"); }

    // The name of an automatic style of the family with these properties (and tab stops,
    // a master page, text properties of a paragraph style), written the first time.
    QString style(const QString &family, const QString &parent, const QString &element, const Attributes &props,
                  const char *prefix, const QList<TabStop> &tabs = {}, const QString &masterPage = {},
                  const Attributes &textProps = {});
    // A list's numbering or bullet, its text a step of stepPt in for each level, as in print.
    QString listStyle(const QTextList &list, double stepPt);
    // A run's character format; empty when it sets nothing.
    QString textStyle(const QTextCharFormat &cf);

    // The families the runs use, Arial first, for the font declarations.
    const QStringList &fonts() const { return m_fonts; }
    QByteArray take()
    {
        m_w.writeEndDocument();
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    QXmlStreamWriter m_w;
    QHash<QString, QString> m_names;
    QHash<const QTextList *, QString> m_listNames;
    QStringList m_fonts;
};

} // namespace formats::office::odt
