#pragma once

// The XML parts of a Word or OpenDocument file: read from the archive, checked against
// the caps of Limits.h before any XML reader sees them (Qt's reader compares each
// attribute of an element with all the others, and looks every prefix up among all the
// namespaces in scope), then walked element by element.

#include "formats/Result.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

namespace formats::office {

namespace zip {
class Archive;
}

// What the parts of one file have used of the caps that hold for the file as a whole.
struct XmlBudget {
    qint64 items = 0; // elements and attributes
};

// Checks the XML in one linear pass: elements and attributes, attributes per element, the length of a
// name, a value and a text, the namespaces in scope, nesting. XML in another encoding
// than UTF-8 is converted to it first, so the reader sees exactly the bytes checked.
// Empty when the XML is within the caps, else the reason.
QString checkXml(QByteArray &xml, XmlBudget &budget);

// The part's bytes, inflated within the archive's caps and checked.
Result readXmlPart(const zip::Archive &zip, const QString &name, QByteArray &xml, XmlBudget &budget);

// Qt's XML reader over a part's bytes. Given bytes whole, Qt decodes them into one string
// at once; read through a device it decodes a few KB at a time, which stay in the
// processor's caches: a 20 MB part reads in little more than half the time.
class XmlInput {
    QBuffer m_bytes; // before the reader, which must not outlive it

public:
    explicit XmlInput(const QByteArray &xml);
    QXmlStreamReader reader;
};

// Reads to the next start or end element; fails on broken XML, a document type
// declaration (no Word or OpenDocument file has one; it is where entity tricks live),
// nesting past MaxXmlDepth, or text past a paragraph's length. False at the end or on
// failure.
bool nextElement(QXmlStreamReader &r, int &depth, QString &error, QString *text = nullptr);

// The reasons a reader gives.
QString damaged(const QXmlStreamReader &r);
QString nestedTooDeep();
QString declaresEntities();

} // namespace formats::office
