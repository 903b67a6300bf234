#pragma once

// One page layout for printing, the print preview and PDF export: the document
// paginated on the device's page with 2 cm margins and a footer on every page with the
// document's name on the left and "Page n of m" on the right. A page break before a block
// starts a new page, a heading never stands alone at the foot of a page, a cover page
// (the document starts with a title) has no footer, and the contents lines get the
// pages of this layout.

#include "formats/PageSetup.h"
#include "formats/SafeWrite.h"

#include <QString>

class QPagedPaintDevice;
class QTextDocument;

namespace formats::printlayout {

// The name in the footer: the file name without its folder, or "Business Plan" while
// the document has no file.
QString documentName(const QString &filePath);

// The text's width on a page of the local size between its margins, in the document's
// pixels (96 to the inch): how wide a picture may be.
qreal textWidth();

// Writes into the contents lines (DocumentStructure.h) the pages on which their headings
// fall on pages of the given size, laying the document out again until they hold.
void numberContents(QTextDocument &doc, const QPageSize &page = formats::page::localSize());

// Sets the margins, lays the document out on the device's page and paints every page.
// Returns the number of pages, 0 when the device cannot be painted on.
int paint(const QTextDocument &doc, QPagedPaintDevice &device, const QString &name);

// The page size a new PDF gets: Letter where the system measures in inches, else A4.
void useLocalePageSize(QPagedPaintDevice &device);

// Where printing into a PDF file suggests to write: beside the current file, else in
// the Documents folder when it exists, else in the home folder.
// Without a file the PDF takes the document's name (as documentName gives it), made safe
// for a file name; "Business Plan" when nothing of it is left.
QString defaultPdfPath(const QString &filePath, const QString &name = QStringLiteral("Business Plan"));

} // namespace formats::printlayout
