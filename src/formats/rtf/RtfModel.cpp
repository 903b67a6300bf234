// The reader's model: body text gathered into runs of one character format and into
// paragraphs, each format and paragraph format kept once, within the reader's limits.

#include "formats/rtf/RtfReader.h"
#include "formats/DocumentStructure.h"

#include <QSet>

#include <algorithm>

#include <iterator>
#include <unordered_set>

namespace formats::rtf::detail {

void Reader::appendBody(char32_t c)
{
    if (c < 0x20 && c != '\t')
        return; // control characters, line ends among them, are not text in RTF
    if (c == 0xF0B7)
        c = 0x2022; // the bullet of the Symbol font
    else if (isParagraphSeparator(c))
        c = 0x2028; // paragraphs end only by \par
    else if (isMarker(c))
        c = Replacement; // the document's own markers
    if (st().chr.flags & Caps)
        c = QChar::toUpper(c);
    beginBodyText();
    Run &run = runs_.back();
    if (c >= 0x10000) {
        text_.append(QChar(QChar::highSurrogate(c)));
        text_.append(QChar(QChar::lowSurrogate(c)));
        run.length += 2;
    } else {
        text_.append(QChar(char16_t(c)));
        run.length += 1;
    }
}

void Reader::appendAscii(const uint8_t *s, qsizetype n)
{
    beginBodyText();
    text_.append(QLatin1StringView(reinterpret_cast<const char *>(s), n));
    runs_.back().length += n;
}

// Starts text in the current run: a nested table's cell boundary comes first.
void Reader::beginBodyText()
{
    parInCell_ = false;
    if (nestTabPending_) {
        nestTabPending_ = false;
        openRun();
        if (!ok_)
            return;
        text_.append(QLatin1Char('\t'));
        runs_.back().length += 1;
    }
    openRun();
}

// Opens a new run when the paragraph has none yet or the format changed.
void Reader::openRun()
{
    const int format = currentFormat();
    const size_t paraStart = paras_.empty() ? 0 : paras_.back().runEnd;
    if (runs_.size() == paraStart || runs_.back().format != format) {
        if (runs_.size() >= size_t(MaxRuns)) {
            fail(tooManyRuns());
            return;
        }
        runs_.push_back(Run{text_.size(), 0, format});
    }
}

int Reader::currentFormat()
{
    State &s = st();
    if (s.format >= 0)
        return s.format;
    const CharProps &c = s.chr;
    const FmtKey key{c.font,       c.halfPoints, c.fg, c.highlight ? c.highlight : c.bg, c.ulColor,
                     uint16_t(c.flags & FormatFlags), c.underline, c.valign};
    if (lastFormat_ >= 0 && key == lastKey_)
        return s.format = lastFormat_;
    // Documents switch among a few formats; a small cache in front of the map finds them.
    FormatCacheSlot &slot = formatCache_[BytesHash<FmtKey>()(key) % std::size(formatCache_)];
    if (slot.format < 0 || !(slot.key == key)) {
        const auto [it, inserted] = formatIndex_.try_emplace(key, int(formats_.size()));
        if (inserted) {
            // Each distinct format costs Qt's format collection a compare on every new
            // format; past a few hundred thousand that alone takes seconds.
            if (formats_.size() >= size_t(MaxCharFormats)) {
                formatIndex_.erase(it);
                fail(tooManyCharFormats());
                return s.format = 0;
            }
            formats_.push_back(key);
        }
        slot = FormatCacheSlot{key, it->second};
    }
    lastKey_ = key;
    lastFormat_ = slot.format;
    return s.format = lastFormat_;
}

// A paragraph ends in a table cell (by \\cell, or by \\par in a table paragraph) or
// outside, which ends the table before it.
void Reader::endParagraph(bool last, bool inCell)
{
    ParaProps props = st().para;
    props.flags &= uint8_t(~InTable);
    nestTabPending_ = false;
    if (inCell)
        props.flags &= uint8_t(~PageBefore); // a cell starts no page
    resolveList(props);
    // An empty last line after the final \par carries the properties of the paragraph
    // before it, but no page break of its own: it would only print a blank page.
    if (last && runs_.size() == (paras_.empty() ? 0 : paras_.back().runEnd)) {
        props.flags &= uint8_t(~PageBefore);
        props.list = NoList; // nor an item of its own
        props.ls = 0;
        props.level = 0;
    }
    if (pageBreakNext_ && !inCell) {
        props.flags |= PageBefore;
        pageBreakNext_ = false;
    }
    const auto [it, inserted] = blockIndex_.try_emplace(props, int(blockFormats_.size()));
    if (inserted)
        blockFormats_.push_back(props);
    // Counted here, where a paragraph ends: a paragraph costs the editor's layout far
    // more than the few bytes of RTF that make it.
    if (text_.size() - paraTextStart_ > MaxParagraphLength) {
        fail(paragraphTooLong());
        return;
    }
    if (paras_.size() >= size_t(MaxParagraphs)) {
        fail(tooManyParagraphs());
        return;
    }
    Para para{runs_.size(), it->second, currentFormat()};
    // A list item's marker text is the list's to show.
    if (props.list != NoList && markerStart_ >= paraTextStart_ && markerEnd_ > markerStart_) {
        para.markerStart = markerStart_;
        para.markerEnd = markerEnd_;
    }
    markerStart_ = markerEnd_ = -1;
    if (inCell) {
        if (openTable_ < 0) {
            openTable_ = int32_t(tables_.size());
            tables_.emplace_back();
        }
        para.table = openTable_;
        para.row = row_;
        para.col = std::min(col_, MaxTableColumns - 1); // cells past the last column join it
        ++cellParas_;
    } else if (openTable_ >= 0) {
        closeTable();
    }
    paras_.push_back(para);
    paraTextStart_ = text_.size();
}

// Every font the text uses costs the editor's layout a search of the system's fonts
// (about a millisecond for a name the system lacks), however few characters it has.
void Reader::checkFontsUsed()
{
    std::unordered_set<int32_t> numbers;
    QSet<QString> used;
    for (const FmtKey &k : formats_) {
        if (!numbers.insert(k.font).second)
            continue;
        const auto font = fonts_.find(k.font);
        if (font == fonts_.end() || font->second.name.isEmpty())
            continue;
        used.insert(font->second.name.toCaseFolded());
        if (used.size() > MaxFontsUsed) {
            fail(tooManyFontsUsed());
            return;
        }
    }
}

} // namespace formats::rtf::detail
