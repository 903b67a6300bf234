#pragma once

// The structure a document carries beyond its text and character formats. It lives in the
// QTextDocument; every writer (RTF, Word, OpenDocument, HTML, Markdown, text, PDF) and
// every reader maps this one model, and no format talks to another.
//
// - Headings: QTextBlockFormat::headingLevel() 1 or 2.
// - The title of a formatted plan: a block with TitleProperty set.
// - Contents lines: blocks with ContentsLevelProperty (the level of the heading the line
//   names), text "entry<TAB>page", the page number at a right tab stop.
// - Tab stop leaders: TabLeadersProperty, one character per stop of tabPositions(), in
//   order: '.' dots, '-' hyphens, '_' a line, ' ' none (Qt draws none itself).
// - Page breaks: QTextFormat::PageBreak_AlwaysBefore on the block or table that starts a
//   new page.
// - Lists: QTextList. Tables: QTextTable.
// - The name a document goes by while it has no file (footer, PDF title, Word title):
//   QTextDocument::DocumentTitle.
// - The characters Qt gives a meaning in the text (below): U+2029 ends a paragraph,
//   U+2028 is a manual line break, U+FDD0 and U+FDD1 mark where a table's frame starts
//   and ends, U+FFFC stands for an object such as a picture.

#include <QTextBlockFormat>

namespace formats {

inline constexpr int TitleProperty = QTextFormat::UserProperty + 1;
inline constexpr int ContentsLevelProperty = QTextFormat::UserProperty + 2;
inline constexpr int TabLeadersProperty = QTextFormat::UserProperty + 3;

inline bool isTitle(const QTextBlockFormat &f) { return f.boolProperty(TitleProperty); }
// 0 for a block that is not a contents line.
inline int contentsLevel(const QTextBlockFormat &f) { return f.intProperty(ContentsLevelProperty); }
// The leader of tab stop i, ' ' for none.
inline QChar tabLeader(const QTextBlockFormat &f, qsizetype i)
{
    const QString leaders = f.stringProperty(TabLeadersProperty);
    return i < leaders.size() ? leaders.at(i) : QLatin1Char(' ');
}

constexpr bool isParagraphSeparator(char32_t c) { return c == 0x2029; }
constexpr bool isLineSeparator(char32_t c) { return c == 0x2028; }
constexpr bool isFrameMark(char32_t c) { return c == 0xFDD0 || c == 0xFDD1; }
constexpr bool isObjectReplacement(char32_t c) { return c == 0xFFFC; }
// A line end as files and the clipboard bring it.
constexpr bool isLineEnd(char32_t c) { return c == u'\n' || c == u'\r'; }
// Where a block of the document ends: a paragraph, or a table's frame starting or ending.
constexpr bool isBlockBreak(char32_t c) { return isParagraphSeparator(c) || isFrameMark(c); }
// Any break between lines, within a paragraph or between blocks.
constexpr bool breaksLine(char32_t c) { return isLineEnd(c) || isLineSeparator(c) || isBlockBreak(c); }
// Qt's own markers, which are no text of the document's.
constexpr bool isMarker(char32_t c) { return isFrameMark(c) || isObjectReplacement(c); }

} // namespace formats
