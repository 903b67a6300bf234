#pragma once

// The editor's text as its commands see it, apart from the widgets: the whole text with
// CR LF line ends, the mapping between its positions and the document's cursor
// positions, and the search rule of Find.

#include <QString>

#include <vector>

class QTextDocument;

namespace text {

// The document's plain text with every paragraph break and every manual line break as
// CR LF. Cursor positions count a break as one character, this text as two.
class WholeText {
public:
    explicit WholeText(const QTextDocument &doc);

    const QString &text() const { return m_text; }
    // 0-based position in text() of a document cursor position.
    qsizetype fromDocument(int docPos) const;
    // Document cursor position of a 0-based position in text(); a position between CR
    // and LF falls on the break.
    int toDocument(qsizetype textPos) const;

private:
    // A run of characters that map one to one; breaks lie between runs.
    struct Run {
        qsizetype text;
        int doc;
        int length;
    };
    const Run &runAtText(qsizetype textPos) const;
    const Run &runAtDocument(int docPos) const;

    QString m_text;
    std::vector<Run> m_runs;
};

// The search rule of Find and Find Next: the 1-based position of the first match of
// `what` at or after the 1-based position `start`, letters compared without regard to
// case; 0 when there is none. An empty `what` matches at `start` itself while `start`
// lies within a non-empty text.
qsizetype findText(const QString &text, const QString &what, qsizetype start);

} // namespace text
