#pragma once

// Documents with structure built from a short spec, and the structure read off a document
// in the same words, so a test compares both sides as one line per paragraph.
//
// A spec is paragraphs separated by "|", each "marks:text"; the marks, separated by
// spaces: "p" (body text), "title", "h1" to "h6", "page" (a page break before it), a
// list item "bullet", "number", "alpha" or "roman" (one list while the kind goes on), or
// "table", whose text is rows separated by ";", cells by ",", a cell's paragraphs by "/";
// a cell paragraph starting with "*" is bold, with ">" right aligned. structure() gives a
// table as "row" lines in the same notation.

#include "RtfTestUtil.h"

#include "document/DocumentStructure.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

namespace rtftest {

inline void fillCell(QTextCursor c, const QString &spec)
{
    bool first = true;
    for (QString p : spec.split(QLatin1Char('/'))) {
        QTextBlockFormat block;
        QTextCharFormat chars = baseFormat();
        if (p.startsWith(QLatin1Char('>'))) {
            block.setAlignment(Qt::AlignRight);
            p.remove(0, 1);
        }
        if (p.startsWith(QLatin1Char('*'))) {
            chars.setFontWeight(QFont::Bold);
            p.remove(0, 1);
        }
        if (first) {
            c.setBlockFormat(block);
            c.setBlockCharFormat(chars);
        } else {
            c.insertBlock(block, chars);
        }
        first = false;
        c.insertText(p, chars);
    }
}

inline const QList<std::pair<QString, QTextListFormat::Style>> &listKinds()
{
    static const QList<std::pair<QString, QTextListFormat::Style>> kinds{
        {QStringLiteral("bullet"), QTextListFormat::ListDisc},
        {QStringLiteral("number"), QTextListFormat::ListDecimal},
        {QStringLiteral("alpha"), QTextListFormat::ListLowerAlpha},
        {QStringLiteral("roman"), QTextListFormat::ListUpperRoman}};
    return kinds;
}

inline void buildStructured(QTextDocument &doc, const QString &spec)
{
    QTextList *list = nullptr;
    QTextCursor c(&doc);
    c.setBlockCharFormat(baseFormat()); // the paragraph Qt keeps before a first table
    bool first = true;
    for (const QString &item : spec.split(QLatin1Char('|'))) {
        const QString marks = item.section(QLatin1Char(':'), 0, 0);
        const QString text = item.section(QLatin1Char(':'), 1);
        if (marks == QLatin1String("table")) {
            const QStringList rows = text.split(QLatin1Char(';'));
            const int cols = int(rows.first().count(QLatin1Char(','))) + 1;
            QTextTableFormat format;
            format.setBorder(1);
            QTextTable *table = c.insertTable(int(rows.size()), cols, format);
            for (int r = 0; r < rows.size(); ++r) {
                const QStringList cells = rows[r].split(QLatin1Char(','));
                for (int k = 0; k < cols && k < cells.size(); ++k)
                    fillCell(table->cellAt(r, k).firstCursorPosition(), cells[k]);
            }
            c = table->lastCursorPosition();
            c.movePosition(QTextCursor::NextBlock);
            c.setBlockCharFormat(baseFormat());
            first = true;
            list = nullptr; // the block after the table takes the next paragraph
            continue;
        }
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
        QTextList *inList = nullptr;
        for (const auto &[name, style] : listKinds())
            if (marks.split(QLatin1Char(' ')).contains(name)) {
                if (list && list->format().style() == style) {
                    list->add(c.block());
                    inList = list;
                } else {
                    inList = c.createList(style);
                }
            }
        list = inList;
        c.insertText(text, chars);
    }
}

// One line per paragraph: its marks, then its text.
inline QString cellSpec(const QTextTableCell &cell)
{
    QStringList paragraphs;
    for (auto it = cell.begin(); !it.atEnd(); ++it) {
        const QTextBlock b = it.currentBlock();
        QString p;
        if (b.blockFormat().alignment() & Qt::AlignRight)
            p += QLatin1Char('>');
        const QTextCharFormat f = b.begin() != b.end() ? b.begin().fragment().charFormat() : b.charFormat();
        if (f.fontWeight() >= QFont::Bold)
            p += QLatin1Char('*');
        paragraphs << p + b.text();
    }
    return paragraphs.join(QLatin1Char('/'));
}

inline QStringList structure(const QTextDocument &doc)
{
    QStringList out;
    for (auto frame = doc.rootFrame()->begin(); !frame.atEnd(); ++frame) {
        if (const auto *table = qobject_cast<QTextTable *>(frame.currentFrame())) {
            for (int r = 0; r < table->rows(); ++r) {
                QStringList cells;
                for (int k = 0; k < table->columns(); ++k)
                    cells << cellSpec(table->cellAt(r, k));
                out << QStringLiteral("row ") + cells.join(QLatin1Char(','));
            }
            continue;
        }
        const QTextBlock b = frame.currentBlock();
        const QTextBlockFormat f = b.blockFormat();
        QStringList line;
        if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            line << QStringLiteral("page");
        if (docstruct::isTitle(f))
            line << QStringLiteral("title");
        if (f.headingLevel() > 0)
            line << QStringLiteral("h%1").arg(f.headingLevel());
        for (const auto &[name, style] : listKinds())
            if (b.textList() && b.textList()->format().style() == style)
                line << name;
        line << b.text();
        out << line.join(QLatin1Char(' '));
    }
    return out;
}

} // namespace rtftest
