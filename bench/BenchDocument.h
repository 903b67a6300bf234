#pragma once

// Generated documents of a given RTF size for the benchmarks: paragraphs of business prose
// with runs of bold, italic, colour, other fonts and sizes, and text outside ASCII.

#include <QByteArray>

class QTextDocument;

namespace bench {

// Fills an empty document with paragraphs until its RTF is about targetBytes long; each
// seed gives other text and formats.
void buildDocument(QTextDocument &doc, qint64 targetBytes, int seed = 0);

// The RTF of such a document, made once per size and seed and kept.
const QByteArray &rtfOfSize(qint64 targetBytes, int seed = 0);

} // namespace bench
