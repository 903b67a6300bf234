#pragma once

// The RTF reader and writer. They know nothing of pages: they convert between a
// QTextDocument and RTF bytes and report problems as results, never as dialogs.

#include "formats/Result.h"

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace formats::rtf {

// Whether the bytes start like an RTF file ("{\rtf", leading white space allowed).
bool looksLikeRtf(const QByteArray &data);

// The whole document as RTF.
QByteArray write(const QTextDocument &doc);

// Replaces the document's content with what the RTF holds. On failure the document is
// left as it was.
Result read(const QByteArray &data, QTextDocument &doc);

} // namespace formats::rtf
