#pragma once

// Reading a file or building a new document is not an edit to undo. While an UndoOff
// lives its document keeps no undo history; the setting it had comes back after, with a
// fresh history.

#include <QTextDocument>

namespace formats {

class UndoOff {
public:
    explicit UndoOff(QTextDocument &doc) : m_doc(doc), m_was(doc.isUndoRedoEnabled()) { doc.setUndoRedoEnabled(false); }
    ~UndoOff() { m_doc.setUndoRedoEnabled(m_was); }
    UndoOff(const UndoOff &) = delete;
    UndoOff &operator=(const UndoOff &) = delete;

private:
    QTextDocument &m_doc;
    bool m_was;
};

} // namespace formats
