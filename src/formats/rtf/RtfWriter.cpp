// The RTF writer: plain RTF 1.x that word processors read, every character outside ASCII
// as \uN with a one-character ASCII fallback. Each run is a group of its own that states
// its whole format, so no reader has to track what the previous run left behind.
// A document with headings or a title also gets a style sheet: every paragraph names its
// style, so word processors show the headings as headings (and in their outlines); a
// document without them is written with no style sheet at all.

#include "formats/Limits.h"
#include "formats/rtf/Rtf.h"
#include "formats/rtf/RtfWriter.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <QTextTable>

#include <cmath>
#include <vector>

namespace formats::rtf {

namespace detail {

// A block format's properties, made once for all the blocks that share it.
const Writer::BlockPrefix &Writer::blockPrefix(const QTextBlock &b)
{
    auto block = blockPrefixes_.constFind(b.blockFormatIndex());
    if (block == blockPrefixes_.constEnd()) {
        const QTextBlockFormat f = b.blockFormat();
        deepest_ = std::max(deepest_, headingLevel(f));
        deepestContents_ = std::max(deepestContents_, contentsLevel(f));
        block = blockPrefixes_.insert(b.blockFormatIndex(),
                                      BlockPrefix{blockProps(f), bool(f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore),
                                                  f.hasProperty(QTextFormat::ObjectIndex)});
    }
    return *block;
}

// A list item in the form every word processor reads: the numbering as \\pn, then its
// marker as plain text for readers without it.
void Writer::writeListItem(Buffer &body, const QTextBlock &b)
{
    const QTextList *list = b.textList();
    if (!list)
        return;
    QString marker;
    switch (list->format().style()) {
    case QTextListFormat::ListDecimal: body.append("{\\*\\pn\\pnlvlbody\\pndec"); break;
    case QTextListFormat::ListLowerAlpha: body.append("{\\*\\pn\\pnlvlbody\\pnlcltr"); break;
    case QTextListFormat::ListUpperAlpha: body.append("{\\*\\pn\\pnlvlbody\\pnucltr"); break;
    case QTextListFormat::ListLowerRoman: body.append("{\\*\\pn\\pnlvlbody\\pnlcrm"); break;
    case QTextListFormat::ListUpperRoman: body.append("{\\*\\pn\\pnlvlbody\\pnucrm"); break;
    default: marker = QString(QChar(0x2022)); break;
    }
    if (marker.isEmpty()) {
        marker = list->itemText(b);
        body.append("\\pnstart1\\pnindent360{\\pntxta .}}");
    } else {
        body.append("{\\*\\pn\\pnlvlblt\\pnindent360{\\pntxtb\\u8226 *}}");
    }
    body.append("{\\pntext ");
    appendText(body, marker.constData(), marker.size());
    body.append("\\tab}");
}

// The paragraph's mark format and its runs, after its paragraph properties.
void Writer::writeBlock(Buffer &body, const QTextBlock &b, const QString &all, qsizetype &offset, bool inTable)
{
    if (inTable) {
        body.append(blockPrefix(b).props);
        body.append("\\intbl", 6);
    }
    // The paragraph's own format, which an empty paragraph shows.
    auto mark = markPrefixes_.constFind(b.charFormatIndex());
    if (mark == markPrefixes_.constEnd())
        mark = markPrefixes_.insert(b.charFormatIndex(), charProps(b.charFormat()));
    body.append(mark.value());
    if (blockPrefix(b).inList)
        writeListItem(body, b);

    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        if (!frag.isValid())
            continue;
        if (frag.charFormat().isImageFormat()) {
            writePictures(body, frag);
            offset += frag.length();
            continue;
        }
        const int index = frag.charFormatIndex();
        auto run = charPrefixes_.constFind(index);
        if (run == charPrefixes_.constEnd())
            run = charPrefixes_.insert(index, "{" + charProps(frag.charFormat()) + ' ');
        body.append(run.value());
        const qsizetype length = std::clamp<qsizetype>(frag.length(), 0, all.size() - offset);
        appendText(body, all.constData() + offset, length);
        offset += length;
        body.append("}", 1);
    }
    ++offset; // the block's separator
}

// A table row by row: the row's cell edges, then each cell's paragraphs ended by \\cell.
// Columns past the last a reader takes go into it; a cell covered by a merged one is
// empty; a table nested in a cell gives the cell its paragraphs. Returns the table's
// last block.
QTextBlock Writer::writeTable(Buffer &body, const QTextTable &table, const QString &all)
{
    const int cols = std::min(table.columns(), MaxTableColumns);
    const QTextTableFormat format = table.format();
    // Widths over the text width of a letter page with inch margins (6.5 inches).
    constexpr double TextWidth = 9360;
    std::vector<double> widths(size_t(table.columns()), TextWidth / table.columns());
    const QList<QTextLength> constraints = format.columnWidthConstraints();
    for (int c = 0; c < table.columns() && constraints.size() == table.columns(); ++c) {
        if (constraints[c].type() == QTextLength::PercentageLength)
            widths[size_t(c)] = constraints[c].rawValue() * TextWidth / 100;
        else if (constraints[c].type() == QTextLength::FixedLength)
            widths[size_t(c)] = constraints[c].rawValue() * 15;
    }
    QByteArray edges;
    double right = 0;
    for (int c = 0; c < table.columns(); ++c) {
        right += widths[size_t(c)];
        if (c >= cols - 1 && c + 1 < table.columns())
            continue; // the last column takes the rest
        if (format.border() > 0)
            edges += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";
        appendNumber(edges, "\\cellx", std::max(1L, std::lround(right)));
    }

    for (int r = 0; r < table.rows(); ++r) {
        body.append(r < format.headerRowCount() ? "\\trowd\\trhdr\\trgaph108" : "\\trowd\\trgaph108");
        body.append(edges);
        body.append("\r\n", 2);
        for (int c = 0; c < cols; ++c) {
            bool first = true;
            // The last column also holds the cells past it.
            for (int k = c; k < (c == cols - 1 ? table.columns() : c + 1); ++k) {
                const QTextTableCell cell = table.cellAt(r, k);
                if (cell.row() != r || cell.column() != k)
                    continue; // covered by a merged cell
                for (QTextBlock b = doc_.findBlock(cell.firstPosition()); b.isValid() && b.position() <= cell.lastPosition();
                     b = b.next()) {
                    if (!first)
                        body.append("\\par\r\n", 6);
                    first = false;
                    qsizetype offset = b.position();
                    writeBlock(body, b, all, offset, true);
                }
            }
            if (first)
                body.append("\\pard\\intbl", 11);
            body.append("\\cell\r\n", 7);
        }
        body.append("\\row\r\n", 6);
    }
    return doc_.findBlock(table.lastPosition());
}

QByteArray Writer::run()
{
    // The header names the fonts and colours the body uses, so it is written last, into
    // room left before the body; the body is never copied.
    constexpr qsizetype HeaderRoom = 16 * 1024;
    styled_ = hasStructure();
    Buffer body;
    body.room(HeaderRoom + qsizetype(doc_.characterCount()) * 3 / 2 + 256);
    body.skip(HeaderRoom);
    // The document's text in one piece: block after block, each followed by its separator.
    // Walking it alongside the blocks and fragments spares asking Qt for each block's text
    // and position, which costs a walk through its fragment tree every time.
    const QString all = doc_.toRawText();
    // The top-level tables in document order, so the walk knows where the next one starts;
    // without any, it never asks a block for its position.
    std::vector<const QTextTable *> tables;
    for (const QTextFrame *frame : doc_.rootFrame()->childFrames())
        if (const auto *table = qobject_cast<const QTextTable *>(frame))
            tables.push_back(table);
    size_t nextTable = 0;
    bool afterTable = false;
    qsizetype offset = 0;
    for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) {
        if (nextTable < tables.size() && b.position() >= tables[nextTable]->firstPosition()) {
            // Qt keeps a paragraph before every table; \\row ends the table's last row.
            body.append("\\par\r\n", 6);
            b = writeTable(body, *tables[nextTable++], all);
            offset = b.next().isValid() ? b.next().position() : all.size();
            afterTable = true;
            continue;
        }
        const BlockPrefix *block = &blockPrefix(b);
        // One \\par for each line end: between blocks, none after the last one. In a styled
        // document the paragraph before a page break ends with \\page instead.
        if (b != doc_.begin() && !afterTable) {
            if (styled_ && block->pageBefore)
                body.append("\\page\r\n", 7);
            else
                body.append("\\par\r\n", 6);
        }
        afterTable = false;
        body.append(block->props);
        if (styled_ && block->pageBefore && b == doc_.begin())
            body.append("\\pagebb");
        writeBlock(body, b, all, offset, false);
    }

    Buffer header;
    header.append("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl");
    for (qsizetype i = 0; i < fonts_.size(); ++i) {
        header.appendNumber("{\\f", i);
        header.append("\\fnil\\fcharset0 ");
        QString name = fonts_.at(i);
        name.remove(QLatin1Char(';')); // the entry's terminator cannot be escaped
        appendText(header, name.constData(), name.size());
        header.append(";}");
    }
    header.append("}\r\n{\\colortbl;");
    for (const QRgb c : std::as_const(colors_)) {
        header.appendNumber("\\red", qRed(c));
        header.appendNumber("\\green", qGreen(c));
        header.appendNumber("\\blue", qBlue(c));
        header.append(";");
    }
    header.append("}\r\n");
    if (styled_) {
        header.append("{\\stylesheet{\\s0 Normal;}");
        for (int level = 1; level <= deepest_; ++level) {
            header.appendNumber("{\\s", level);
            header.appendNumber("\\outlinelevel", level - 1);
            header.appendNumber("\\sbasedon0\\snext0 heading ", level);
            header.append(";}");
        }
        header.append("{");
        header.append(TitleStyle);
        header.append("\\sbasedon0\\snext0 Title;}");
        for (int level = 1; level <= deepestContents_; ++level) {
            header.appendNumber("{\\s", ContentsStyle + level);
            header.appendNumber("\\sbasedon0\\snext0 toc ", level);
            header.append(";}");
        }
        header.append("}\r\n");
    }
    body.append("}\r\n");

    const QByteArray head = header.take();
    QByteArray out = body.take();
    if (head.size() <= HeaderRoom) {
        // Dropping bytes at the front of a QByteArray moves no data.
        std::memcpy(out.data() + HeaderRoom - head.size(), head.constData(), size_t(head.size()));
        out.remove(0, HeaderRoom - head.size());
    } else {
        out = head + out.mid(HeaderRoom);
    }
    return out;
}

} // namespace detail

QByteArray write(const QTextDocument &doc)
{
    return detail::Writer(doc).run();
}

} // namespace formats::rtf
