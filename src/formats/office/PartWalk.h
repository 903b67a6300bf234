#pragma once

// What the Word and OpenDocument readers share: a walk over one part's XML, element by
// element, that stops at the part's first fault or once the builder has refused the file.

#include "formats/office/OfficeBuild.h"
#include "formats/office/XmlPart.h"

#include <QString>
#include <QXmlStreamReader>

namespace formats::office {

class PartWalk {
public:
    QString error() const { return m_error; }

protected:
    PartWalk(const QByteArray &xml, Builder &builder) : m_input(xml), m_b(builder) {}

    // To the next start or end element; text on the way goes to `text` when given.
    bool next(QString *text = nullptr)
    {
        return !m_b.failed() && m_error.isEmpty() && nextElement(m_r, m_depth, m_error, text);
    }

    // Past the end of the element just started.
    void skip()
    {
        const int level = m_depth;
        while (next() && m_depth >= level) {
        }
    }

    // f(name) for each element that starts inside the one just started, at any depth, until
    // its end; what f reads of an element is passed over.
    template <class F>
    void children(F &&f)
    {
        const int level = m_depth;
        while (next() && m_depth >= level)
            if (m_r.isStartElement())
                f(m_r.name());
    }

    QString attr(const char *qualified) const { return m_r.attributes().value(QLatin1String(qualified)).toString(); }

    XmlInput m_input;
    QXmlStreamReader &m_r = m_input.reader;
    Builder &m_b; // what the walk records
    int m_depth = 0;
    QString m_error;
};

} // namespace formats::office
