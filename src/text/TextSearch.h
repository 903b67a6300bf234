#pragma once

// Finding and replacing in the editor's document without widgets: the searches of the
// replace panel (match case, whole words, forwards or backwards), Replace All as one undo
// step, and the backward counterpart of Find Next's rule.

#include <QString>

class QTextDocument;

namespace text {

struct SearchOptions {
    bool matchCase = false;
    bool wholeWords = false;
};

// A stretch of the document in cursor positions; start < 0 when nothing was found.
struct TextMatch {
    int start = -1;
    int length = 0;
    bool found() const { return start >= 0; }
    int end() const { return start + length; }
};

// The first match that starts at or after `from`, or with `backward` the last one that
// ends at or before `from`. Matches never span paragraphs.
TextMatch findInDocument(const QTextDocument &doc, const QString &what, int from, SearchOptions options,
                         bool backward = false);

// Whether the text from `start` to `end` is exactly one match of `what`.
bool isMatch(const QTextDocument &doc, int start, int end, const QString &what, SearchOptions options);

// Replaces every match with `with`, each taking the format of the text it replaces, in
// one undo step. Returns how many were replaced.
int replaceAll(QTextDocument &doc, const QString &what, const QString &with, SearchOptions options);

// Find Next's rule run backwards: the 1-based position of the last match of `what` that
// starts before the 0-based position `before`, ignoring case; 0 when there is none.
qsizetype findTextBackward(const QString &text, const QString &what, qsizetype before);

} // namespace text
