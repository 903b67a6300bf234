#pragma once

// Generated documents of a given RTF size for the benchmarks: paragraphs of business prose
// with runs of bold, italic, colour, other fonts and sizes, and text outside ASCII.

#include <QByteArray>

class QTextDocument;

namespace bench {

// Fills an empty document with paragraphs until its RTF is about targetBytes long.
void buildDocument(QTextDocument &doc, qint64 targetBytes);

// The RTF of such a document, made once per size and kept.
const QByteArray &rtfOfSize(qint64 targetBytes);

} // namespace bench
