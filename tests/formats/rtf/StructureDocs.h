#pragma once

// Documents with structure built from a short spec, and the structure read off a document
// in the same words. A spec is paragraphs separated by "|", each "marks:text"; marks:
// "title", "h1" to "h6", "page" (a break before), a list item "bullet", "number", "alpha"
// or "roman" (one list while the kind goes on), or "table", whose text is rows separated
// by ";", cells by ",", a cell's paragraphs by "/", a cell paragraph starting with "*"
// bold, with ">" right aligned; structure() gives each row as "row " and its cells.

#include "RtfTestUtil.h"

#include "formats/DocumentStructure.h"

#include <QTextList>
#include <QTextTable>

namespace rtftest {

inline const QList<std::pair<QString, QTextListFormat::Style>> listKinds{
    {QStringLiteral("bullet"), QTextListFormat::ListDisc}, {QStringLiteral("number"), QTextListFormat::ListDecimal},
    {QStringLiteral("alpha"), QTextListFormat::ListLowerAlpha}, {QStringLiteral("roman"), QTextListFormat::ListUpperRoman}};

// One paragraph at the cursor: into its empty block when fresh, else a new one.
inline void putParagraph(QTextCursor &c, bool &fresh, QTextList *&list, const QStringList &marks, QString text)
{
    QTextBlockFormat block;
    QTextCharFormat chars = baseFormat();
    if (text.startsWith(QLatin1Char('>')))
        block.setAlignment(Qt::AlignRight), text.remove(0, 1);
    if (text.startsWith(QLatin1Char('*')))
        chars.setFontWeight(QFont::Bold), text.remove(0, 1);
    for (const QString &m : marks) {
        if (m == QLatin1String("page")) {
            block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        } else if (m == QLatin1String("title")) {
            block.setProperty(formats::TitleProperty, true);
            block.setAlignment(Qt::AlignHCenter);
            chars.setFontPointSize(26);
        } else if (m.size() == 2 && m.at(0) == QLatin1Char('h')) {
            block.setHeadingLevel(m.at(1).digitValue());
            chars.setFontWeight(QFont::Bold);
            chars.setFontPointSize(18 - 2 * m.at(1).digitValue());
        }
    }
    if (fresh)
        c.setBlockFormat(block), c.setBlockCharFormat(chars);
    else
        c.insertBlock(block, chars);
    fresh = false;
    QTextList *item = nullptr;
    for (const auto &[name, style] : listKinds) {
        if (!marks.contains(name))
            continue;
        item = list && list->format().style() == style ? list : c.createList(style);
        if (item == list)
            list->add(c.block());
    }
    list = item;
    c.insertText(text, chars);
}

inline void buildStructured(QTextDocument &doc, const QString &spec)
{
    QTextCursor c(&doc);
    c.setBlockCharFormat(baseFormat()); // the paragraph Qt keeps before a first table
    bool fresh = true;
    QTextList *list = nullptr;
    for (const QString &item : spec.split(QLatin1Char('|'))) {
        const QStringList marks = item.section(QLatin1Char(':'), 0, 0).split(QLatin1Char(' '));
        const QString text = item.section(QLatin1Char(':'), 1);
        if (!marks.contains(QLatin1String("table"))) {
            putParagraph(c, fresh, list, marks, text);
            continue;
        }
        const QStringList rows = text.split(QLatin1Char(';'));
        QTextTableFormat format;
        format.setBorder(1);
        QTextTable *table = c.insertTable(int(rows.size()), int(rows[0].count(QLatin1Char(','))) + 1, format);
        for (int r = 0; r < rows.size(); ++r) {
            const QStringList cells = rows[r].split(QLatin1Char(','));
            for (int k = 0; k < table->columns() && k < cells.size(); ++k) {
                QTextCursor cell = table->cellAt(r, k).firstCursorPosition();
                bool first = true;
                QTextList *none = nullptr;
                for (const QString &p : cells[k].split(QLatin1Char('/')))
                    putParagraph(cell, first, none, {}, p);
            }
        }
        c = table->lastCursorPosition();
        c.movePosition(QTextCursor::NextBlock);
        c.setBlockCharFormat(baseFormat());
        fresh = true; // the block after the table takes the next paragraph
        list = nullptr;
    }
}

// A paragraph as a test table writes it: its marks, then its text.
inline QString paragraphSpec(const QTextBlock &b)
{
    const QTextBlockFormat f = b.blockFormat();
    QStringList line;
    if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        line << QStringLiteral("page");
    if (formats::isTitle(f))
        line << QStringLiteral("title");
    if (f.headingLevel() > 0)
        line << QStringLiteral("h%1").arg(f.headingLevel());
    for (const auto &[name, style] : listKinds)
        if (b.textList() && b.textList()->format().style() == style)
            line << name;
    const QTextCharFormat chars = b.begin() != b.end() ? b.begin().fragment().charFormat() : b.charFormat();
    line << QString(f.alignment() & Qt::AlignRight ? QStringLiteral(">") : QString())
                + (chars.fontWeight() >= QFont::Bold && f.headingLevel() == 0 ? QStringLiteral("*") : QString()) + b.text();
    return line.join(QLatin1Char(' '));
}

inline QStringList structure(const QTextDocument &doc)
{
    QStringList out;
    for (auto frame = doc.rootFrame()->begin(); !frame.atEnd(); ++frame) {
        const auto *table = qobject_cast<QTextTable *>(frame.currentFrame());
        if (!table) {
            out << paragraphSpec(frame.currentBlock());
            continue;
        }
        for (int r = 0; r < table->rows(); ++r) {
            QStringList cells;
            for (int k = 0; k < table->columns(); ++k) {
                QStringList paragraphs;
                const QTextTableCell cell = table->cellAt(r, k);
                for (auto it = cell.begin(); !it.atEnd(); ++it)
                    paragraphs << paragraphSpec(it.currentBlock());
                cells << paragraphs.join(QLatin1Char('/'));
            }
            out << QStringLiteral("row ") + cells.join(QLatin1Char(','));
        }
    }
    return out;
}

} // namespace rtftest
