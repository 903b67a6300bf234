#pragma once

// Reading Word (.docx) and OpenDocument text (.odt) files into the editor's document:
// paragraphs, headings, character formats, alignment, line breaks, tabs, page breaks and
// tables. Pictures, comments and tracked changes are left out and named.

#include "formats/Result.h"

#include <QByteArray>
#include <QString>

class QTextCharFormat;
class QTextDocument;

namespace formats::office::zip {
class Archive;
}

namespace formats::office {

enum class Kind { None, Word, OpenDocument };

// Which text document the open archive holds, if any: a Word file holds
// word/document.xml; an OpenDocument text file names its type in "mimetype".
Kind kindOf(const formats::office::zip::Archive &zip);

// Replaces the document's content with the file's; text takes `base` where the file says
// nothing else. leftOut gets what was not shown ("pictures and comments"). On failure
// the document is left as it was.
Result readDocument(const formats::office::zip::Archive &zip, Kind kind, QTextDocument &doc, const QTextCharFormat &base,
            QString &leftOut);

// The reason for an OpenDocument text file without its text.
QString holdsNoText();

// The two readers; each walks its XML once and builds what it found only when the walk
// is through within the limits.
Result readDocx(const formats::office::zip::Archive &zip, QTextDocument &doc, const QTextCharFormat &base, QString &leftOut);
Result readOdt(const formats::office::zip::Archive &zip, QTextDocument &doc, const QTextCharFormat &base, QString &leftOut);

} // namespace formats::office
