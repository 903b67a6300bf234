#include "formats/TableText.h"

#include "formats/DocumentStructure.h"

#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace formats::tabletext {

namespace {

QString cleaned(QString text, QChar lineEnd)
{
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        if (breaksLine(u))
            c = lineEnd;
        else if (u == QChar::Nbsp)
            c = QLatin1Char(' ');
    }
    // A picture is not text.
    return text.remove(QChar(QChar::ObjectReplacementCharacter));
}

// The lines of a frame's content; inside a cell (flat) everything runs on one line.
void appendFrame(const QTextFrame *frame, bool flat, QStringList &lines)
{
    for (QTextFrame::iterator it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame *child = it.currentFrame()) {
            const auto *table = qobject_cast<const QTextTable *>(child);
            if (!table) {
                appendFrame(child, flat, lines);
                continue;
            }
            for (const QStringList &row : cells(*table))
                lines << row.join(flat ? QLatin1Char(' ') : QLatin1Char('\t'));
            continue;
        }
        lines << cleaned(it.currentBlock().text(), flat ? QLatin1Char(' ') : QLatin1Char('\n'));
    }
}

} // namespace

QList<QStringList> cells(const QTextTable &table)
{
    QList<QStringList> rows;
    for (int r = 0; r < table.rows(); ++r) {
        QStringList row;
        for (int c = 0; c < table.columns(); ++c) {
            const QTextTableCell cell = table.cellAt(r, c);
            if (cell.row() != r || cell.column() != c) {
                row << QString();
                continue;
            }
            QStringList parts;
            for (QTextFrame::iterator it = cell.begin(); !it.atEnd(); ++it) {
                if (const auto *inner = qobject_cast<const QTextTable *>(it.currentFrame())) {
                    QStringList flat;
                    for (const QStringList &innerRow : cells(*inner))
                        flat << innerRow.join(QLatin1Char(' '));
                    parts << flat.join(QLatin1Char(' '));
                } else if (const QTextFrame *frame = it.currentFrame()) {
                    QStringList flat;
                    appendFrame(frame, true, flat);
                    parts << flat.join(QLatin1Char(' '));
                } else {
                    parts << cleaned(it.currentBlock().text(), QLatin1Char(' '));
                }
            }
            row << parts.join(QLatin1Char(' ')).replace(QLatin1Char('\t'), QLatin1Char(' '));
        }
        rows << row;
    }
    return rows;
}

QString plainText(const QTextDocument &doc)
{
    QStringList lines;
    appendFrame(doc.rootFrame(), false, lines);
    return lines.join(QLatin1Char('\n'));
}

} // namespace formats::tabletext
