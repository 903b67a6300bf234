#pragma once

// The structure a document carries beyond its text and character formats. It lives in the
// QTextDocument; every writer (RTF, Word, OpenDocument, HTML, Markdown, text, PDF) and
// every reader maps this one model, and no format talks to another.
//
// - Headings: QTextBlockFormat::headingLevel() 1 or 2.
// - The title of a formatted plan: a block with TitleProperty set.
// - Contents lines: blocks with ContentsLevelProperty (the level of the heading the line
//   names), text "entry<TAB>page", the page number at a right tab stop.
// - Page breaks: QTextFormat::PageBreak_AlwaysBefore on the block or table that starts a
//   new page.
// - Lists: QTextList. Tables: QTextTable.
// - The name a document goes by while it has no file (footer, PDF title, Word title):
//   QTextDocument::DocumentTitle.

#include <QTextBlockFormat>

namespace formats {

inline constexpr int TitleProperty = QTextFormat::UserProperty + 1;
inline constexpr int ContentsLevelProperty = QTextFormat::UserProperty + 2;

inline bool isTitle(const QTextBlockFormat &f) { return f.boolProperty(TitleProperty); }
// 0 for a block that is not a contents line.
inline int contentsLevel(const QTextBlockFormat &f) { return f.intProperty(ContentsLevelProperty); }

} // namespace formats
