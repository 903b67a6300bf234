#pragma once

// Printing on a QPrinter, with the print layout of every page and PDF.

#include "formats/Result.h"

#include <QString>

class QPrinter;
class QTextDocument;

// Paints the document on the printer. Printing into a PDF file writes the pages to a
// temporary file first and then puts them in place like every other written file, so a
// failure leaves an existing file whole.
formats::Result printDocument(const QTextDocument &doc, QPrinter &printer, const QString &name);
