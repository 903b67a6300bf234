#pragma once

// What the Word and OpenDocument readers share: a reader walks the file's XML once and
// tells a Builder what it found; the builder checks it against the editor's limits and
// records it, and only a walk that ended within them is built into the document. So a
// file beyond a limit or broken part way leaves the document as it was, and what was
// checked is exactly what is built.

#include "formats/Limits.h"
#include "formats/Pictures.h"
#include "formats/Result.h"
#include "formats/office/XmlPart.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextListFormat>

#include <functional>
#include <unordered_map>
#include <vector>

class QTextDocument;

namespace formats::office {

// The family as one string, which Qt reads as a list of one: Qt 6.4 hashes every list of
// families alike, so formats differing only in font would crowd one hash bucket.
void setFamily(QTextCharFormat &format, const QString &family);

class Builder {
public:
    Builder() = default;
    Builder(const Builder &) = delete;
    Builder &operator=(const Builder &) = delete;

    void paragraph(const QTextBlockFormat &format);
    void text(const QString &text, const QTextCharFormat &format);
    // A picture in the text, a character of its paragraph and a run of its own
    // (OfficePictures.h).
    void picture(const formats::Picture &picture);
    // The paragraph just started is an item of the list the file calls `key`; the first
    // item makes the list.
    void listItem(const QString &key, QTextListFormat::Style style, int level);
    // What follows starts a page: the next paragraph, or the rest of this one.
    void pageBreak() { m_breakNext = true; }
    void startTable();
    void startRow();
    void cell(int columnSpan = 1);
    void endTable();
    // Something the editor cannot show was left out ("pictures"...), said once each.
    void leftOut(const QString &what);

    bool failed() const { return !m_error.isEmpty(); }
    const QString &error() const { return m_error; }
    void fail(const QString &why);
    // What was left out, in words ("pictures and comments").
    QString leftOutText() const;

    // Replaces the document's content with what was recorded; only after a walk that did
    // not fail.
    void build(QTextDocument &doc) const;

private:
    // One thing recorded, with what it needs: indexes into the lists below, positions
    // in m_text.
    struct Step {
        enum Kind : quint8 { Paragraph, NewParagraph, Text, Picture, ListItem, StartTable, Cell, EndTable } kind;
        int a = 0;
        qsizetype b = 0, c = 0;
    };
    struct Span {
        int row, column, length;
    };
    // A table as it grows: it starts as one cell in one row; in the document it has its
    // whole size at once, as growing one row at a time costs Qt a pass over all its
    // cells per row.
    struct Table {
        int rows = 1, columns = 1;
        bool pageBreak = false;
        std::vector<Span> spans; // merged once the table is whole
    };
    struct Open {
        size_t table;
        int row = -1, column = 0;
    };
    struct List {
        QTextListFormat::Style style;
        int level;
    };
    struct FormatHash {
        size_t operator()(const QTextCharFormat &f) const;
    };

    // The document gets n more blocks (paragraphs, cells, the block after a table).
    bool addBlocks(qint64 n);
    bool addCells(qint64 n);
    int formatIndex(const QTextCharFormat &format);

    bool m_fresh = true; // the current block is empty and no paragraph has used it yet
    bool m_breakNext = false;
    QTextBlockFormat m_format; // the paragraph's own, for its rest after a page break
    qint64 m_blocks = 1, m_length = 0, m_runs = 0, m_cells = 0;
    int m_runFormat = -1; // of the paragraph's last text

    std::vector<Step> m_steps;
    QString m_text; // all texts, one after another
    std::vector<QTextBlockFormat> m_blockFormats;
    std::vector<QTextCharFormat> m_formats; // each distinct one once
    std::vector<formats::Picture> m_pictures;
    std::unordered_map<QTextCharFormat, int, FormatHash> m_formatIndex;
    QSet<QString> m_fonts; // case-folded
    std::vector<List> m_lists;
    QHash<QString, int> m_listIndex;
    std::vector<Table> m_tables;
    std::vector<Open> m_open; // the tables the walk is in, innermost last

    QStringList m_leftOut;
    QString m_error;
};

QString tableTooLarge();

// Runs `read` over a builder, then builds what it recorded into doc, unless the reader or
// the builder failed. `read` returns the reader's own error, empty when it has none.
Result readThenBuild(QTextDocument &doc, const std::function<QString(Builder &)> &read, QString &leftOut);

} // namespace formats::office
