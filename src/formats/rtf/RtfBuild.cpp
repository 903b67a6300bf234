// The model turned into a QTextDocument, and the reader's entry points.

#include "formats/DocumentStructure.h"
#include "formats/rtf/RtfParse.h"
#include "formats/rtf/RtfReader.h"

#include <QHash>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <algorithm>
#include <iterator>

namespace formats::rtf {

namespace detail {

namespace {

// Column widths as shares of the table's width, so a table fits the page it is shown on.
QTextTableFormat tableFormat(const TableModel &t)
{
    QTextTableFormat f;
    f.setCellPadding(4);
    f.setCellSpacing(0);
    f.setBorderCollapse(true);
    f.setBorder(t.borders ? 1 : 0);
    f.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    f.setHeaderRowCount(t.headerRows);
    const auto &x = t.cellx;
    if (int32_t(x.size()) == t.cols && !x.empty() && x.front() > 0 && std::is_sorted(x.begin(), x.end())
        && std::adjacent_find(x.begin(), x.end()) == x.end()) {
        QList<QTextLength> widths;
        int32_t left = 0;
        for (const int32_t right : x) {
            widths << QTextLength(QTextLength::PercentageLength, 100.0 * (right - left) / x.back());
            left = right;
        }
        f.setColumnWidthConstraints(widths);
        f.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    }
    return f;
}

QTextListFormat listFormat(uint8_t kind, uint8_t level)
{
    static constexpr QTextListFormat::Style styles[] = {
        QTextListFormat::ListDisc,       QTextListFormat::ListDisc,       QTextListFormat::ListDecimal,
        QTextListFormat::ListLowerAlpha, QTextListFormat::ListUpperAlpha, QTextListFormat::ListLowerRoman,
        QTextListFormat::ListUpperRoman,
    };
    QTextListFormat f;
    f.setStyle(styles[kind < std::size(styles) ? kind : 0]);
    f.setIndent(level + 1);
    return f;
}

// RTF counts tab stops from the margin, the document from the paragraph's indent; a stop
// left of the indent has no place there.
void setTabs(QTextBlockFormat &f, std::vector<TabStop> stops, int32_t indent)
{
    std::stable_sort(stops.begin(), stops.end(), [](const TabStop &a, const TabStop &b) { return a.position < b.position; });
    QList<QTextOption::Tab> tabs;
    QString leaders;
    for (const TabStop &t : stops) {
        if (t.position < indent)
            continue;
        const QTextOption::TabType type = t.align == TwRight    ? QTextOption::RightTab
                                          : t.align == TwCenter  ? QTextOption::CenterTab
                                          : t.align == TwDecimal ? QTextOption::DelimiterTab
                                                                 : QTextOption::LeftTab;
        tabs << QTextOption::Tab((t.position - indent) / 15.0, type, type == QTextOption::DelimiterTab ? QLatin1Char('.') : QChar());
        leaders += t.leader == TwDots ? QLatin1Char('.') : t.leader == TwHyphens ? QLatin1Char('-')
                 : t.leader == TwLine ? QLatin1Char('_') : t.leader == TwDoubleLine ? QLatin1Char('=') : QLatin1Char(' ');
    }
    f.setTabPositions(tabs);
    if (!leaders.trimmed().isEmpty())
        f.setProperty(formats::TabLeadersProperty, leaders);
}

} // namespace

void Reader::apply(QTextDocument &doc) const
{
    build(doc, charFormats(fontFamilies()), blockFormats());
}

// Font names are compared without regard to case ("Arial" and "arial" are one font):
// entries that differ only in case take the spelling of the lowest-numbered one.
std::unordered_map<int32_t, QString> Reader::fontFamilies() const
{
    std::unordered_map<int32_t, QString> families;
    {
        std::vector<std::pair<int32_t, const FontEntry *>> entries;
        entries.reserve(fonts_.size());
        for (const auto &[number, entry] : fonts_)
            entries.emplace_back(number, &entry);
        std::sort(entries.begin(), entries.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        QHash<QString, QString> spelling;
        for (const auto &[number, entry] : entries) {
            if (entry->name.isEmpty())
                continue;
            const QString key = entry->name.toCaseFolded();
            auto it = spelling.constFind(key);
            if (it == spelling.constEnd())
                it = spelling.insert(key, entry->name);
            families.emplace(number, it.value());
        }
    }
    return families;
}

std::vector<QTextCharFormat> Reader::charFormats(const std::unordered_map<int32_t, QString> &families) const
{
    const auto color = [this](int32_t index) {
        if (index <= 0 || size_t(index) >= colors_.size() || qAlpha(colors_[size_t(index)]) == 0)
            return QColor();
        return QColor::fromRgb(colors_[size_t(index)]);
    };
    std::vector<QTextCharFormat> charFormats;
    charFormats.reserve(formats_.size());
    for (const FmtKey &k : formats_) {
        QTextCharFormat f;
        // The family goes in as one string, which Qt reads as a list of one: Qt 6.4 hashes
        // every list of families alike, so formats that differ only in font would all
        // share one hash and the format collection would compare each new one with all.
        if (const auto family = families.find(k.font); family != families.end())
            f.setProperty(QTextFormat::FontFamilies, family->second);
        f.setFontPointSize(k.halfPoints / 2.0);
        if (k.flags & Bold)
            f.setFontWeight(QFont::Bold);
        if (k.flags & Italic)
            f.setFontItalic(true);
        if (k.flags & Strike)
            f.setFontStrikeOut(true);
        if (k.flags & SmallCaps)
            f.setFontCapitalization(QFont::SmallCaps);
        static constexpr QTextCharFormat::UnderlineStyle underlines[] = {
            QTextCharFormat::NoUnderline,  QTextCharFormat::SingleUnderline, QTextCharFormat::DotLine,
            QTextCharFormat::DashUnderline, QTextCharFormat::DashDotLine,    QTextCharFormat::DashDotDotLine,
            QTextCharFormat::WaveUnderline,
        };
        if (k.underline != UlNone)
            f.setUnderlineStyle(underlines[k.underline]);
        if (const QColor c = color(k.fg); c.isValid())
            f.setForeground(c);
        if (const QColor c = color(k.bg); c.isValid())
            f.setBackground(c);
        if (const QColor c = color(k.ulColor); c.isValid())
            f.setUnderlineColor(c);
        if (k.valign == VSuper)
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        else if (k.valign == VSub)
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        charFormats.push_back(f);
    }
    return charFormats;
}

std::vector<QTextBlockFormat> Reader::blockFormats() const
{
    std::vector<QTextBlockFormat> blockFormats;
    blockFormats.reserve(blockFormats_.size());
    for (const ParaProps &p : blockFormats_) {
        QTextBlockFormat f;
        switch (p.align) {
        case AlCenter: f.setAlignment(Qt::AlignHCenter); break;
        case AlRight: f.setAlignment(Qt::AlignRight); break;
        case AlJustify: f.setAlignment(Qt::AlignJustify); break;
        default: break;
        }
        // Twips to the document's pixels (15 twips to a pixel at 96 dpi).
        if (p.li)
            f.setLeftMargin(p.li / 15.0);
        if (p.ri)
            f.setRightMargin(p.ri / 15.0);
        if (p.fi)
            f.setTextIndent(p.fi / 15.0);
        if (p.sb)
            f.setTopMargin(p.sb / 15.0);
        if (p.sa)
            f.setBottomMargin(p.sa / 15.0);
        if (p.flags & RightToLeft)
            f.setLayoutDirection(Qt::RightToLeft);
        if (p.flags & PageBefore)
            f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        if (p.heading)
            f.setHeadingLevel(p.heading);
        if (p.flags & Title)
            f.setProperty(formats::TitleProperty, true);
        if (p.contents)
            f.setProperty(formats::ContentsLevelProperty, int(p.contents));
        if (p.tabs)
            setTabs(f, tabSets_[p.tabs], p.li);
        blockFormats.push_back(f);
    }
    return blockFormats;
}

void Reader::build(QTextDocument &doc, const std::vector<QTextCharFormat> &charFormats,
                   const std::vector<QTextBlockFormat> &blockFormats) const
{
    doc.clear();
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    size_t run = 0;
    QTextTable *table = nullptr;
    int32_t tableIndex = -1;
    int32_t cellRow = -1, cellCol = -1;
    bool fresh = true; // the cursor stands in an empty block that the next paragraph fills
    // The lists open at each level of the list being read, and the \ls they belong to.
    QTextList *lists[MaxListLevels] = {};
    uint8_t listKinds[MaxListLevels] = {};
    int32_t listLs = -1;
    const auto endLists = [&] { std::fill(std::begin(lists), std::end(lists), nullptr); };
    for (size_t i = 0; i < paras_.size(); ++i) {
        const Para &para = paras_[i];
        const QTextBlockFormat &blockFormat = blockFormats[size_t(para.blockFormat)];
        const QTextCharFormat &markFormat = charFormats[size_t(para.markFormat)];
        if (para.table >= 0) {
            if (para.table != tableIndex) {
                // A document cannot start with a table: its first, empty block stays before.
                const TableModel &t = tables_[size_t(para.table)];
                table = cursor.insertTable(std::max(t.rows, 1), std::max(t.cols, 1), tableFormat(t));
                tableIndex = para.table;
                cellRow = cellCol = -1;
                fresh = false;
            }
            const int row = std::min(para.row, table->rows() - 1);
            const int col = std::min(para.col, table->columns() - 1);
            if (row != cellRow || col != cellCol) {
                endLists(); // a list stays in its cell
                cursor = table->cellAt(row, col).firstCursorPosition();
                cursor.setBlockFormat(blockFormat);
                cursor.setBlockCharFormat(markFormat);
                cellRow = row;
                cellCol = col;
            } else {
                cursor.insertBlock(blockFormat, markFormat);
            }
        } else {
            if (table) {
                // The block after the table, which Qt always keeps.
                cursor = table->lastCursorPosition();
                cursor.movePosition(QTextCursor::NextBlock);
                table = nullptr;
                tableIndex = -1;
                fresh = true;
                endLists();
            }
            if (fresh) {
                cursor.setBlockFormat(blockFormat);
                cursor.setBlockCharFormat(markFormat);
                fresh = false;
            } else {
                cursor.insertBlock(blockFormat, markFormat);
            }
        }
        // Consecutive paragraphs of one numbering are one list; an item nested deeper goes
        // on a list of its own, and the list it came from goes on after it.
        const ParaProps &props = blockFormats_[size_t(para.blockFormat)];
        if (props.list == NoList || props.ls != listLs)
            endLists();
        listLs = props.ls;
        if (props.list != NoList) {
            const uint8_t level = std::min<uint8_t>(props.level, MaxListLevels - 1);
            std::fill(std::begin(lists) + level + 1, std::end(lists), nullptr);
            if (lists[level] && listKinds[level] == props.list) {
                lists[level]->add(cursor.block());
            } else {
                lists[level] = cursor.createList(listFormat(props.list, level));
                listKinds[level] = props.list;
            }
        }
        for (; run < para.runEnd; ++run) {
            const Run &r = runs_[run];
            // The run without the part of it that is the list marker.
            const qsizetype end = r.start + r.length;
            const qsizetype cutFrom = std::clamp(para.markerStart, r.start, end);
            const qsizetype cutTo = std::clamp(para.markerEnd, cutFrom, end);
            if (cutFrom > r.start)
                insertText(cursor, r.start, cutFrom, charFormats[size_t(r.format)]);
            if (end > cutTo)
                insertText(cursor, cutTo, end, charFormats[size_t(r.format)]);
        }
    }
    cursor.endEditBlock();
}

Result parseOnly(const QByteArray &data)
{
    return Reader(data).parse();
}

} // namespace detail

Result read(const QByteArray &data, QTextDocument &doc)
{
    detail::Reader reader(data);
    const Result result = reader.parse();
    if (result.ok)
        reader.apply(doc);
    return result;
}

} // namespace formats::rtf
