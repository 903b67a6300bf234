#include "formats/PrintLayout.h"

#include "formats/DocumentStructure.h"
#include "formats/PageSetup.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>

#include <algorithm>
#include <memory>

namespace formats::printlayout {

QString documentName(const QString &filePath)
{
    return filePath.isEmpty() ? QStringLiteral("Business Plan") : QFileInfo(filePath).fileName();
}

void useLocalePageSize(QPagedPaintDevice &device) { device.setPageSize(formats::page::localSize()); }

namespace {

qreal pointsToPixels(qreal pt) { return pt * 96 / 72; }

constexpr int FineDotsPerMetre = 47244; // 1200 to the inch, as a PDF

bool startsPage(const QTextBlock &b)
{
    return b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
}

// What a page holds whole: a line, or a table row.
struct Span {
    qreal top, height;
    bool breakBefore = false; // a page break before the paragraph
    qreal keepTop = -1;       // the heading's top, which goes with the text after it
    qreal breakTop = -1;      // where the page breaks instead when this line does not fit
};

// A block's lines in document coordinates. A paragraph leaves at least two of its lines
// on each page it runs over, as word processors do: a break that would leave one alone
// comes a line earlier, or before the paragraph.
void addLines(QAbstractTextDocumentLayout *layout, const QTextBlock &b, QList<Span> &spans, bool paragraph = false)
{
    const qreal top = layout->blockBoundingRect(b).top(); // lays the block out
    const QTextLayout *lines = b.layout();
    const qsizetype first = spans.size();
    const int count = lines->lineCount();
    for (int i = 0; i < count; ++i)
        spans.push_back({top + lines->lineAt(i).y(), lines->lineAt(i).height()});
    for (int i = 1; paragraph && i < count; ++i) {
        int at = count - i < 2 ? count - 2 : i;
        if (at < 2)
            at = 0;
        spans[first + i].breakTop = spans[first + at].top;
    }
}

// A table's rows as spans, so that a row moves to the next page whole. A row's borders
// lie above and below its text: the first row starts at the table's edge, the others
// halfway between their text and the row before. A row taller than a page breaks
// between the lines of its cells instead.
void addRows(const QTextDocument &doc, const QTextTable &table, qreal pageHeight, QList<Span> &spans)
{
    QAbstractTextDocumentLayout *layout = doc.documentLayout();
    qreal previousBottom = table.parentFrame() == doc.rootFrame()
        ? layout->frameBoundingRect(const_cast<QTextTable *>(&table)).top()
        : -1;
    for (int r = 0; r < table.rows(); ++r) {
        QList<Span> lines;
        for (int c = 0; c < table.columns(); ++c) {
            const QTextTableCell cell = table.cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            for (QTextBlock b = cell.firstCursorPosition().block(); b.isValid() && b.position() <= cell.lastPosition();
                 b = b.next())
                addLines(layout, b, lines);
        }
        if (lines.isEmpty())
            continue;
        std::sort(lines.begin(), lines.end(), [](const Span &a, const Span &b) { return a.top < b.top; });
        qreal bottom = 0;
        for (const Span &l : lines)
            bottom = std::max(bottom, l.top + l.height);
        const qreal top = lines.first().top;
        const qreal edge = previousBottom < 0 ? top : r == 0 ? previousBottom : (previousBottom + top) / 2;
        previousBottom = bottom;
        if (bottom - edge > pageHeight)
            spans << lines;
        else
            spans.push_back({edge, bottom - edge});
    }
}

// Where each page starts, in document coordinates: a page holds the whole lines and
// table rows that fit and breaks before the first that does not, so nothing is cut or
// drawn twice; a paragraph leaves no line alone, and a heading goes to the next page with
// the paragraph after it.
QList<qreal> pageStarts(const QTextDocument &doc, qreal pageHeight)
{
    QList<Span> spans;
    qreal headingTop = -1; // the top of the heading just before
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const qsizetype first = spans.size();
        if (const QTextTable *table = QTextCursor(b).currentTable()) {
            addRows(doc, *table, pageHeight, spans);
            // On after the table, a table inside it included.
            b = table->lastCursorPosition().block();
        } else {
            addLines(doc.documentLayout(), b, spans, true);
        }
        if (spans.size() > first) {
            spans[first].breakBefore = startsPage(b) && !QTextCursor(b).currentTable();
            // The paragraph after a heading goes with it whole where a page holds both; a
            // table, with its first row.
            const qsizetype kept = QTextCursor(b).currentTable() ? first + 1 : spans.size();
            for (qsizetype i = first; i < kept; ++i)
                spans[i].keepTop = headingTop;
        }
        // Headings one after the other go to the next page together.
        const bool heading = b.blockFormat().headingLevel() > 0 && spans.size() > first && !QTextCursor(b).currentTable();
        headingTop = heading ? (headingTop >= 0 ? headingTop : spans[first].top) : -1;
    }
    QList<qreal> starts{0};
    for (const Span &s : spans) {
        if (s.top <= starts.last())
            continue;
        if (s.breakBefore)
            starts << s.top;
        else if (s.top + s.height - starts.last() > pageHeight)
            starts << (s.keepTop > starts.last() ? s.keepTop : s.breakTop > starts.last() ? s.breakTop : s.top);
    }
    return starts;
}

int pageAt(const QList<qreal> &starts, qreal y)
{
    int page = 1;
    while (page < starts.size() && starts[page] <= y + 0.01)
        ++page;
    return page;
}

// One pass: the contents lines get the pages of the headings in this layout, in order.
// True when a number changed, so the layout must be made again.
bool renumber(QTextDocument &laidOut, const QList<qreal> &starts, QTextDocument *also = nullptr)
{
    QList<int> pages;
    QList<int> lines;
    for (QTextBlock b = laidOut.begin(); b.isValid(); b = b.next()) {
        if (formats::contentsLevel(b.blockFormat()) > 0)
            lines << b.blockNumber();
        else if (b.blockFormat().headingLevel() > 0 && b.layout()->lineCount() > 0)
            pages << pageAt(starts, b.layout()->position().y());
    }
    bool changed = false;
    for (int i = 0; i < lines.size() && i < pages.size(); ++i) {
        for (QTextDocument *doc : {&laidOut, also}) {
            if (!doc)
                continue;
            const QTextBlock block = doc->findBlockByNumber(lines[i]);
            const QString number = QString::number(pages[i]);
            const int tab = int(block.text().lastIndexOf(QLatin1Char('\t')));
            if (tab < 0 || block.text().mid(tab + 1) == number)
                continue;
            QTextCursor c(block);
            c.setPosition(block.position() + tab + 1);
            c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            c.insertText(number);
            changed = true;
        }
    }
    return changed;
}

// Puts the contents lines' page numbers at the right margin of a text `width` wide (in
// the document's own units, which tab stops keep on every device); false when the
// document has no contents.
bool placeContentsTabs(QTextDocument &doc, qreal width)
{
    bool found = false;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextBlockFormat f = b.blockFormat();
        if (formats::contentsLevel(f) == 0)
            continue;
        found = true;
        // Tab stops count from the indented start; a hair inside the margin, so
        // rounding never wraps the number.
        const qreal tab = width - f.leftMargin() - f.indent() * doc.indentWidth() - f.rightMargin() - 1;
        if (f.tabPositions().size() == 1 && qAbs(f.tabPositions().first().position - tab) < 0.5
            && formats::tabLeader(f, 0) == QLatin1Char('.'))
            continue;
        f.setTabPositions({QTextOption::Tab(tab, QTextOption::RightTab)});
        f.setProperty(formats::TabLeadersProperty, QStringLiteral("."));
        QTextCursor(b).setBlockFormat(f);
    }
    return found;
}

// Lays a document not yet laid out on the device at the width.
void layOut(QTextDocument &doc, QPaintDevice &device, qreal width)
{
    // Unhinted widths, as word processors lay out, so that lines break where theirs do.
    doc.setUseDesignMetrics(true);
    doc.documentLayout()->setPaintDevice(&device);
    doc.setDocumentMargin(0);
    doc.setTextWidth(width);
}

// A copy of the document laid out afresh. A changed document is copied again rather than
// laid out again in place, where the layout is only brought up to date lazily.
std::unique_ptr<QTextDocument> laidOutCopy(const QTextDocument &source, QPaintDevice &device, qreal width)
{
    std::unique_ptr<QTextDocument> doc(source.clone());
    layOut(*doc, device, width);
    return doc;
}

// The copy that goes on a device's pages `width` device pixels wide: the contents' page
// numbers at its right margin, and the paragraphs' side margins in the device's pixels
// (Qt scales a paragraph's indent steps and the space above and below it to the device,
// but takes those margins as the device's own pixels: on paper they would all but vanish).
std::unique_ptr<QTextDocument> copyForDevice(const QTextDocument &source, QPaintDevice &device, qreal width)
{
    std::unique_ptr<QTextDocument> doc(source.clone());
    const qreal scale = device.logicalDpiX() / 96.0;
    placeContentsTabs(*doc, width / scale);
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        QTextBlockFormat f = b.blockFormat();
        if (f.leftMargin() == 0 && f.rightMargin() == 0 && f.textIndent() == 0)
            continue;
        f.setLeftMargin(f.leftMargin() * scale);
        f.setRightMargin(f.rightMargin() * scale);
        f.setTextIndent(f.textIndent() * scale);
        QTextCursor(b).setBlockFormat(f);
    }
    layOut(*doc, device, width);
    return doc;
}

// Pages, numbering the contents until the numbers no longer move the headings.
QList<qreal> paginate(std::unique_ptr<QTextDocument> &doc, QPaintDevice &device, qreal pageHeight,
                      QTextDocument *also = nullptr)
{
    const qreal width = doc->textWidth();
    QList<qreal> starts = pageStarts(*doc, pageHeight);
    for (int pass = 0; pass < 4 && renumber(*doc, starts, also); ++pass) {
        doc = laidOutCopy(*doc, device, width);
        starts = pageStarts(*doc, pageHeight);
    }
    return starts;
}

} // namespace

qreal textWidth() { return pointsToPixels(formats::page::textArea(formats::page::localSize()).width()); }

void numberContents(QTextDocument &doc, const QPageSize &page)
{
    const QSizeF text = formats::page::textArea(page);
    if (!placeContentsTabs(doc, pointsToPixels(text.width())))
        return;
    // Laid out as finely as on a printer: at the screen's pixels every line is rounded up,
    // and a page holds fewer of them than on paper.
    QImage fine(1, 1, QImage::Format_Mono);
    fine.setDotsPerMeterX(FineDotsPerMetre);
    fine.setDotsPerMeterY(FineDotsPerMetre);
    const qreal scale = fine.logicalDpiY() / 72.0;
    std::unique_ptr<QTextDocument> copy = copyForDevice(doc, fine, text.width() * scale);
    paginate(copy, fine, text.height() * scale, &doc);
}

int paint(const QTextDocument &source, QPagedPaintDevice &device, const QString &name)
{
    using namespace formats::page;
    device.setPageMargins(QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm), QPageLayout::Millimeter);
    // The text area from the page's exact size, not the device's whole points.
    const qreal scale = device.logicalDpiY() / 72.0;
    const QSizeF text = textArea(inPoints(device.pageLayout().fullRect(QPageLayout::Millimeter).size()));

    QFont footerFont(QStringLiteral("Arial"));
    footerFont.setPointSizeF(FooterPt);
    const QFontMetricsF footerMetrics(footerFont, &device);
    const qreal footerLine = FooterLinePt * scale;

    // Lay out a copy at the device's resolution, so the screen document is untouched.
    const QSizeF body(text.width() * scale, text.height() * scale);
    std::unique_ptr<QTextDocument> doc = copyForDevice(source, device, body.width());
    QList<qreal> starts = paginate(doc, device, body.height());
    const int pages = int(starts.size());
    starts << doc->size().height();

    const bool cover = formats::isTitle(doc->begin().blockFormat());

    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            device.newPage();
        painter.save();
        const QRectF page(0, starts[i], body.width(), starts[i + 1] - starts[i]);
        painter.translate(0, -page.top());
        painter.setClipRect(page);
        QAbstractTextDocumentLayout::PaintContext context;
        // A line that merely touches the page's edge belongs to the neighbouring page.
        context.clip = page.adjusted(0, 0.01, 0, -0.01);
        context.palette.setColor(QPalette::Text, Qt::black);
        doc->documentLayout()->draw(&painter, context);
        painter.restore();
        if (i == 0 && cover)
            continue;

        painter.setFont(footerFont);
        painter.setPen(Qt::black);
        const QRectF footer(0, body.height() + footerLine, body.width(), footerLine);
        painter.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter,
                         footerMetrics.elidedText(name, Qt::ElideMiddle, body.width() * 0.6));
        painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages));
    }
    painter.end();
    return pages;
}

namespace {

// A business name as typed may hold characters that some file systems refuse, line
// breaks, or dots at its edges (a leading one hides the file); it is also kept short
// enough for any file system once an extension is added.
QString safeFileName(const QString &name)
{
    constexpr qsizetype MaxLength = 60;
    QString out = name;
    for (QChar &c : out) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            c = QLatin1Char('-'); // "Cafe/Bar": Cafe-Bar
        else if (c.category() == QChar::Other_Control || QStringView(u":*?\"<>|").contains(c))
            c = QLatin1Char(' ');
    }
    out = out.simplified();
    if (out.size() > MaxLength)
        out.truncate(out.at(MaxLength - 1).isHighSurrogate() ? MaxLength - 1 : MaxLength);
    const auto edge = [](QChar c) { return c == QLatin1Char('.') || c == QLatin1Char(' '); };
    while (!out.isEmpty() && edge(out.front()))
        out.remove(0, 1);
    while (!out.isEmpty() && edge(out.back()))
        out.chop(1);
    return out;
}

} // namespace

QString defaultPdfPath(const QString &filePath, const QString &name)
{
    if (!filePath.isEmpty()) {
        const QFileInfo info(filePath);
        return info.dir().filePath(info.completeBaseName() + QStringLiteral(".pdf"));
    }
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QDir folder(!docs.isEmpty() && QFileInfo(docs).isDir() ? docs : QDir::homePath());
    const QString base = safeFileName(name);
    return folder.filePath((base.isEmpty() ? QStringLiteral("Business Plan") : base) + QStringLiteral(".pdf"));
}

} // namespace formats::printlayout
