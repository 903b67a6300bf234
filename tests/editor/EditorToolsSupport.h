#pragma once

// What the tests of the editor's writing tools share: selecting, replacing the text,
// typing a key sequence, and reading the spelling underline.

#include "EditorFixture.h"

#include "editor/EditorSpelling.h"
#include "editor/SpellHighlighter.h"
#include "text/SpellChecker.h"

#include <QAbstractTextDocumentLayout>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>

#include <memory>

namespace tools {

inline void select(QTextEdit *edit, int from, int to)
{
    QTextCursor c(edit->document());
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    edit->setTextCursor(c);
}

inline void setText(QTextEdit *edit, const QString &text)
{
    edit->setPlainText(text);
    edit->moveCursor(QTextCursor::Start);
}

inline void key(QWidget *w, const QKeySequence &k)
{
    const QKeyCombination combo = k[0];
    QTest::keyClick(w, combo.key(), combo.keyboardModifiers());
}

// The words of a paragraph that carry the spelling underline.
inline QStringList underlined(const QTextBlock &block)
{
    QStringList words;
    for (const QTextLayout::FormatRange &r : block.layout()->formats()) {
        if (r.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
            words << block.text().mid(r.start, r.length);
    }
    return words;
}

// Lets Qt finish laying out and then underlines what is shown, as the page does on its
// own a moment later.
inline void checkShown(EditorPage *p)
{
    p->textEdit()->document()->documentLayout()->documentSize();
    p->spelling()->highlighter()->checkVisibleNow();
}

inline bool haveEnglish()
{
    return !text::SpellChecker::findDictionary(QStringLiteral("en_US"), text::SpellChecker::systemDirectories()).isEmpty();
}


// A fresh editor run and folder for each test, with no dictionary folders overridden.
class ToolsTestBase : public QObject {
protected:
    void setUpRun()
    {
        EditorSpelling::setDictionaryDirectories({});
        run = std::make_unique<EditorRun>();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
    }

    void tearDownRun()
    {
        VERIFY_PROMPTS(run->prompts);
        run.reset();
        dir.reset();
        EditorSpelling::setDictionaryDirectories({});
    }

    // The editor, active as the user meets it; null when the window would not activate.
    EditorPage *open()
    {
        EditorPage *p = run->openEditor();
        if (p) {
            p->activateWindow();
            if (!QTest::qWaitForWindowActive(p))
                return nullptr;
        }
        return p;
    }

    QString save(EditorPage *p, const QString &name)
    {
        const QString path = dir->filePath(name);
        run->expectSaveAs(path);
        run->trigger(p, "mnuFileSaveAs");
        return path;
    }

    std::unique_ptr<EditorRun> run;
    std::unique_ptr<QTemporaryDir> dir;
};

} // namespace tools

using namespace tools;

#define NEED_DICTIONARY()                                                                              \
    if (!haveEnglish())                                                                                \
    QSKIP("no en_US Hunspell dictionary: install the hunspell-en-us package")
