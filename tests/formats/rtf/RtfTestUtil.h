#pragma once

// Helpers shared by the RTF tests: the text of a document as a user sees it, documents
// built run by run, and a readable account of each run's format for comparisons.

#include "formats/Limits.h"
#include "formats/rtf/Rtf.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include <memory>

namespace rtftest {

// A list item's marker as a reader without lists shows it: "•" or "1.", then a tab.
inline QString listMarker(const QTextBlock &b)
{
    const QTextList *list = b.textList();
    if (!list)
        return QString();
    const QTextListFormat::Style style = list->format().style();
    const bool bullet = style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
                        || style == QTextListFormat::ListSquare;
    return (bullet ? QString(QChar(0x2022)) : list->itemText(b)) + QLatin1Char('\t');
}

// Paragraphs joined by "\n"; unlike toPlainText() it keeps no-break spaces and line
// separators as they are. A table row is one line, its cells separated by tabs; a list
// item starts with its marker.
inline QString text(const QTextDocument &doc)
{
    QStringList lines;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (const QTextBlock b = it.currentBlock(); b.isValid()) {
            lines << listMarker(b) + b.text();
            continue;
        }
        const auto *table = qobject_cast<QTextTable *>(it.currentFrame());
        for (int r = 0; table && r < table->rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columns(); ++c) {
                QStringList paragraphs;
                const QTextTableCell cell = table->cellAt(r, c);
                for (auto b = cell.begin(); !b.atEnd(); ++b)
                    paragraphs << listMarker(b.currentBlock()) + b.currentBlock().text();
                cells << paragraphs.join(QLatin1Char('\n'));
            }
            lines << cells.join(QLatin1Char('\t'));
        }
    }
    return lines.join(QLatin1Char('\n'));
}

inline std::unique_ptr<QTextDocument> readDoc(const QByteArray &rtfData, formats::Result *result = nullptr)
{
    auto doc = std::make_unique<QTextDocument>();
    const formats::Result r = formats::rtf::read(rtfData, *doc);
    if (result)
        *result = r;
    return doc;
}

inline QString readText(const QByteArray &rtfData)
{
    formats::Result r;
    const auto doc = readDoc(rtfData, &r);
    if (!r.ok)
        return QStringLiteral("<refused: %1>").arg(r.error);
    return text(*doc);
}

inline QString describe(const QTextCharFormat &f)
{
    QStringList d;
    d << f.fontFamilies().toStringList().value(0) << QString::number(f.fontPointSize());
    if (f.fontWeight() >= QFont::DemiBold)
        d << QStringLiteral("bold");
    if (f.fontItalic())
        d << QStringLiteral("italic");
    if (f.underlineStyle() != QTextCharFormat::NoUnderline)
        d << QStringLiteral("underline%1").arg(int(f.underlineStyle()));
    if (f.fontStrikeOut())
        d << QStringLiteral("strike");
    if (f.fontCapitalization() != QFont::MixedCase)
        d << QStringLiteral("caps%1").arg(int(f.fontCapitalization()));
    if (f.verticalAlignment() != QTextCharFormat::AlignNormal)
        d << QStringLiteral("valign%1").arg(int(f.verticalAlignment()));
    if (f.hasProperty(QTextFormat::ForegroundBrush))
        d << QStringLiteral("fg") + f.foreground().color().name();
    if (f.hasProperty(QTextFormat::BackgroundBrush))
        d << QStringLiteral("bg") + f.background().color().name();
    if (f.hasProperty(QTextFormat::TextUnderlineColor))
        d << QStringLiteral("ulc") + f.underlineColor().name();
    return d.join(QLatin1Char(' '));
}

inline QString describe(const QTextBlockFormat &f)
{
    QStringList d;
    d << QStringLiteral("align%1").arg(int(f.alignment() & Qt::AlignHorizontal_Mask));
    if (f.leftMargin() != 0)
        d << QStringLiteral("left%1").arg(f.leftMargin());
    if (f.rightMargin() != 0)
        d << QStringLiteral("right%1").arg(f.rightMargin());
    if (f.textIndent() != 0)
        d << QStringLiteral("indent%1").arg(f.textIndent());
    if (f.topMargin() != 0)
        d << QStringLiteral("top%1").arg(f.topMargin());
    if (f.bottomMargin() != 0)
        d << QStringLiteral("bottom%1").arg(f.bottomMargin());
    if (f.layoutDirection() == Qt::RightToLeft)
        d << QStringLiteral("rtl");
    if (f.pageBreakPolicy() != QTextFormat::PageBreak_Auto)
        d << QStringLiteral("pagebreak%1").arg(int(f.pageBreakPolicy()));
    return d.join(QLatin1Char(' '));
}

// Every paragraph with its format, its mark's format and each run "[format]text".
inline QStringList describe(const QTextDocument &doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QString line = QStringLiteral("{%1 | %2}").arg(describe(b.blockFormat()), describe(b.charFormat()));
        for (auto it = b.begin(); !it.atEnd(); ++it)
            line += QStringLiteral("[%1]%2").arg(describe(it.fragment().charFormat()), it.fragment().text());
        out << line;
    }
    return out;
}

// The run formats a document carries: the properties a run of our own files always has.
inline QTextCharFormat baseFormat(const QString &family = QStringLiteral("Arial"), double points = 12)
{
    QTextCharFormat f;
    f.setFontFamilies({family});
    f.setFontPointSize(points);
    return f;
}

} // namespace rtftest
