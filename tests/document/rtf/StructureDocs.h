#pragma once

// Documents with structure built from a short spec, and the structure read off a document
// in the same words, so a test compares both sides as one line per paragraph.
//
// A spec is paragraphs separated by "|", each "marks:text"; the marks, separated by
// spaces: "p" (body text), "title", "h1" to "h6", "page" (a page break before it).

#include "RtfTestUtil.h"

#include "document/DocumentStructure.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace rtftest {

inline void buildStructured(QTextDocument &doc, const QString &spec)
{
    QTextCursor c(&doc);
    bool first = true;
    for (const QString &item : spec.split(QLatin1Char('|'))) {
        const QString marks = item.section(QLatin1Char(':'), 0, 0);
        const QString text = item.section(QLatin1Char(':'), 1);
        QTextBlockFormat block;
        QTextCharFormat chars = baseFormat();
        for (const QString &m : marks.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (m == QLatin1String("page")) {
                block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            } else if (m == QLatin1String("title")) {
                block.setProperty(docstruct::TitleProperty, true);
                block.setAlignment(Qt::AlignHCenter);
                chars.setFontPointSize(26);
            } else if (m.size() == 2 && m.at(0) == QLatin1Char('h')) {
                block.setHeadingLevel(m.at(1).digitValue());
                chars.setFontWeight(QFont::Bold);
                chars.setFontPointSize(18 - 2 * m.at(1).digitValue());
            }
        }
        if (first) {
            c.setBlockFormat(block);
            c.setBlockCharFormat(chars);
        } else {
            c.insertBlock(block, chars);
        }
        first = false;
        c.insertText(text, chars);
    }
}

// One line per paragraph: its marks, then its text.
inline QStringList structure(const QTextDocument &doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat f = b.blockFormat();
        QStringList line;
        if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            line << QStringLiteral("page");
        if (docstruct::isTitle(f))
            line << QStringLiteral("title");
        if (f.headingLevel() > 0)
            line << QStringLiteral("h%1").arg(f.headingLevel());
        line << b.text();
        out << line.join(QLatin1Char(' '));
    }
    return out;
}

} // namespace rtftest
