#include "formats/PrintLayout.h"

#include "formats/DocumentStructure.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
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

void useLocalePageSize(QPagedPaintDevice &device)
{
    const bool inches = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    device.setPageSize(QPageSize(inches ? QPageSize::Letter : QPageSize::A4));
}

namespace {

constexpr qreal MarginMm = 20;

QSizeF localPageMm()
{
    const bool inches = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageSize(inches ? QPageSize::Letter : QPageSize::A4).size(QPageSize::Millimeter);
}

qreal mmToPixels(qreal mm) { return mm / 25.4 * 96; }

bool startsPage(const QTextBlock &b)
{
    return b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
}

// What a page holds whole: a line, or a table row.
struct Span {
    qreal top, height;
    bool breakBefore = false; // a page break before the paragraph
    qreal keepTop = -1;       // the heading's top, which goes with the text after it
};

// A block's lines in document coordinates.
void addLines(QAbstractTextDocumentLayout *layout, const QTextBlock &b, QList<Span> &spans)
{
    const qreal top = layout->blockBoundingRect(b).top(); // lays the block out
    const QTextLayout *lines = b.layout();
    for (int i = 0; i < lines->lineCount(); ++i)
        spans.push_back({top + lines->lineAt(i).y(), lines->lineAt(i).height()});
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
// drawn twice; a heading goes to the next page with the text after it.
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
            addLines(doc.documentLayout(), b, spans);
        }
        if (spans.size() > first) {
            spans[first].breakBefore = startsPage(b) && !QTextCursor(b).currentTable();
            spans[first].keepTop = headingTop;
        }
        const bool heading = b.blockFormat().headingLevel() > 0 && spans.size() > first && !QTextCursor(b).currentTable();
        headingTop = heading ? spans[first].top : -1;
    }
    QList<qreal> starts{0};
    for (const Span &s : spans) {
        if (s.top <= starts.last())
            continue;
        if (s.breakBefore)
            starts << s.top;
        else if (s.top + s.height - starts.last() > pageHeight)
            starts << (s.keepTop > starts.last() ? s.keepTop : s.top);
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
        const qreal tab = width - f.indent() * doc.indentWidth() - 1;
        if (f.tabPositions().size() == 1 && qAbs(f.tabPositions().first().position - tab) < 0.5)
            continue;
        f.setTabPositions({QTextOption::Tab(tab, QTextOption::RightTab)});
        QTextCursor(b).setBlockFormat(f);
    }
    return found;
}

// A copy of the document laid out afresh on the device (the screen's when null) at the
// width. A changed document is copied again rather than laid out again in place, where
// the layout is only brought up to date lazily.
std::unique_ptr<QTextDocument> laidOutCopy(const QTextDocument &source, QPaintDevice *device, qreal width)
{
    std::unique_ptr<QTextDocument> doc(source.clone());
    if (device)
        doc->documentLayout()->setPaintDevice(device);
    doc->setDocumentMargin(0);
    doc->setTextWidth(width);
    return doc;
}

// Pages, numbering the contents until the numbers no longer move the headings.
QList<qreal> paginate(std::unique_ptr<QTextDocument> &doc, QPaintDevice *device, qreal pageHeight,
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

qreal textWidth() { return mmToPixels(localPageMm().width() - 2 * MarginMm); }

void numberContents(QTextDocument &doc)
{
    const qreal width = textWidth();
    if (!placeContentsTabs(doc, width))
        return;
    std::unique_ptr<QTextDocument> copy = laidOutCopy(doc, nullptr, width);
    // The footer takes two lines of 9 pt text.
    paginate(copy, nullptr, mmToPixels(localPageMm().height() - 2 * MarginMm) - 2 * 9 * 96 / 72.0 * 1.15, &doc);
}

int paint(const QTextDocument &source, QPagedPaintDevice &device, const QString &name)
{
    device.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    const QRectF area = device.pageLayout().paintRectPixels(device.logicalDpiX());

    QFont footerFont(QStringLiteral("Arial"));
    footerFont.setPointSizeF(9);
    const QFontMetricsF footerMetrics(footerFont, &device);
    const qreal footerHeight = footerMetrics.height() * 2;

    // Lay out a copy at the device's resolution, so the screen document is untouched.
    const QSizeF body(area.width(), area.height() - footerHeight);
    std::unique_ptr<QTextDocument> doc = laidOutCopy(source, &device, body.width());
    if (placeContentsTabs(*doc, body.width() * 96 / device.logicalDpiY()))
        doc = laidOutCopy(*doc, &device, body.width());
    QList<qreal> starts = paginate(doc, &device, body.height());
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
        const QRectF footer(0, body.height() + footerMetrics.height() * 0.75, body.width(), footerMetrics.height());
        painter.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter,
                         footerMetrics.elidedText(name, Qt::ElideMiddle, body.width() * 0.6));
        painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages));
    }
    painter.end();
    return pages;
}

QString defaultPdfPath(const QString &filePath, const QString &name)
{
    if (!filePath.isEmpty()) {
        const QFileInfo info(filePath);
        return info.dir().filePath(info.completeBaseName() + QStringLiteral(".pdf"));
    }
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QDir folder(!docs.isEmpty() && QFileInfo(docs).isDir() ? docs : QDir::homePath());
    QString base = name;
    base.replace(QLatin1Char('/'), QLatin1Char('-'));
    return folder.filePath(base + QStringLiteral(".pdf"));
}

} // namespace formats::printlayout
