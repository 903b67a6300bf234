#pragma once

// What the Word and OpenDocument readers share: they walk the file's XML twice, once to
// check it against the editor's limits (no document), then to build the document; so a
// file beyond a limit or broken part way leaves the document as it was.

#include "formats/Limits.h"
#include "formats/Pictures.h"
#include "formats/Result.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextListFormat>

#include <functional>
#include <vector>

class QTextCursor;
class QTextDocument;
class QTextList;
class QTextTable;
class QXmlStreamReader;

namespace formats::office {

class Builder {
public:
    // Builds into doc, or only counts when doc is null.
    explicit Builder(QTextDocument *doc);
    ~Builder();
    Builder(const Builder &) = delete;
    Builder &operator=(const Builder &) = delete;

    void paragraph(const QTextBlockFormat &format);
    void text(const QString &text, const QTextCharFormat &format);
    // A picture in the text, a character of its paragraph (OfficePictures.h).
    void picture(const formats::Picture &picture);
    bool building() const { return m_cursor; }
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

private:
    // Room for `length` more characters in the paragraph, started if need be; false when
    // a limit is passed.
    bool place(qsizetype length);

    struct Span {
        int row, column, length;
    };
    struct Table {
        QTextTable *table = nullptr;
        int row = -1, column = 0, columns = 0;
        std::vector<Span> spans; // merged once the table is whole
    };

    QTextDocument *m_doc;
    QTextCursor *m_cursor = nullptr;
    bool m_fresh = true; // the cursor stands in an empty block no paragraph has used yet
    bool m_breakNext = false;
    QTextBlockFormat m_format; // the paragraph's own, for its rest after a page break
    qint64 m_paragraphs = 0, m_length = 0, m_runs = 0, m_cells = 0;
    std::vector<Table> m_tables;
    QHash<QString, QTextList *> m_lists;
    QStringList m_leftOut;
    QString m_error;
};

// The reasons a reader gives.
QString damaged(const QXmlStreamReader &r);
QString nestedTooDeep();
QString tableTooLarge();

// Reads to the next start or end element; fails on broken XML, a document type
// declaration (no Word or OpenDocument file has one; it is where entity tricks live), or
// nesting past MaxXmlDepth. False at the end or on failure.
bool nextElement(QXmlStreamReader &r, int &depth, QString &error, QString *text = nullptr);

// Reads twice: first only counting, so a file beyond a limit leaves the document as it
// was, then building into doc. `read` runs a reader over the builder and returns the
// reader's own error, empty when it has none.
Result readTwice(QTextDocument &doc, const std::function<QString(Builder &)> &read, QString &leftOut);

} // namespace formats::office
