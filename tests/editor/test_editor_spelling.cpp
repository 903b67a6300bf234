// Spelling on the editor page: the underline on what is shown, typing, the Options
// entries, the context menu, Next Misspelling, and a system without a dictionary.

#include "EditorToolsSupport.h"

#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextDocument>

class EditorSpellingTest : public ToolsTestBase {
    Q_OBJECT
private slots:
    void init() { setUpRun(); }
    void cleanup() { tearDownRun(); }

    void spelling_underlinesShownTextOnly()
    {
        NEED_DICTIONARY();
        OPEN_EDITOR(p);
        QTextEdit *edit = p->textEdit();
        QStringList lines;
        for (int i = 0; i < 2000; ++i)
            lines << QStringLiteral("Line %1 has a bussiness word.").arg(i);
        setText(edit, lines.join(QLatin1Char('\n')));
        SpellHighlighter *h = p->spelling()->highlighter();
        checkShown(p);
        QTextDocument *doc = edit->document();
        QCOMPARE(underlined(doc->firstBlock()), QStringList{"bussiness"});
        QVERIFY(underlined(doc->lastBlock()).isEmpty());
        // A screenful, not the document.
        QVERIFY2(h->checkedBlocks() < 200, qPrintable(QString::number(h->checkedBlocks())));

        // Scrolled down, what comes into view is checked.
        edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->maximum());
        QTRY_COMPARE(underlined(doc->lastBlock()), QStringList{"bussiness"});
        QVERIFY(underlined(doc->findBlockByNumber(1000)).isEmpty());
        QVERIFY(h->checkedBlocks() < 400);
    }

    void spelling_typingChecksTheEditedParagraph()
    {
        NEED_DICTIONARY();
        OPEN_EDITOR(p);
        QTextEdit *edit = p->textEdit();
        setText(edit, QStringLiteral("Our plan"));
        checkShown(p);
        edit->moveCursor(QTextCursor::End);
        QTest::keyClicks(edit, QStringLiteral(" recieve"));
        QCOMPARE(underlined(edit->document()->firstBlock()), QStringList{"recieve"});
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, QStringLiteral("eive"));
        QCOMPARE(EditorRun::wholeText(p), QStringLiteral("Our plan receive"));
        QVERIFY(underlined(edit->document()->firstBlock()).isEmpty());
    }

    void spelling_toggleRemovesAndRestoresUnderline()
    {
        NEED_DICTIONARY();
        OPEN_EDITOR(p);
        setText(p->textEdit(), QStringLiteral("A custmer"));
        checkShown(p);
        const QTextBlock block = p->textEdit()->document()->firstBlock();
        QCOMPARE(underlined(block), QStringList{"custmer"});
        FIND(toggle, QAction, p, "mnuOptionsSpelling");
        QVERIFY(toggle->isEnabled() && toggle->isCheckable() && toggle->isChecked());
        toggle->trigger();
        QVERIFY(underlined(block).isEmpty());
        QTest::keyClicks(p->textEdit(), QStringLiteral("wrongg "));
        QVERIFY(underlined(block).isEmpty());
        toggle->trigger();
        QCOMPARE(underlined(block), (QStringList{"wrongg", "custmer"}));
    }

    void spelling_contextMenuSuggestsAndIgnoresAll()
    {
        NEED_DICTIONARY();
        OPEN_EDITOR(p);
        QTextEdit *edit = p->textEdit();
        setText(edit, QStringLiteral("We recieve goods.\nQuorvane and Quorvane."));
        checkShown(p);
        QTextCursor word(edit->document());
        word.setPosition(5);
        std::unique_ptr<QMenu> menu(p->spelling()->contextMenu(edit->cursorRect(word).center()));
        QList<QAction *> suggestions;
        for (QAction *a : menu->actions()) {
            if (a->objectName() == QLatin1String("mnuSuggestion"))
                suggestions << a;
        }
        QVERIFY(!suggestions.isEmpty() && suggestions.size() <= 5);
        QCOMPARE(suggestions.first()->text(), QStringLiteral("receive"));
        QVERIFY(menu->findChild<QAction *>(QStringLiteral("mnuIgnoreAll")));
        suggestions.first()->trigger();
        QCOMPARE(EditorRun::wholeText(p), QStringLiteral("We receive goods.\r\nQuorvane and Quorvane."));

        const QTextBlock second = edit->document()->findBlockByNumber(1);
        QCOMPARE(underlined(second), (QStringList{"Quorvane", "Quorvane"}));
        word.setPosition(second.position() + 2);
        menu.reset(p->spelling()->contextMenu(edit->cursorRect(word).center()));
        auto *ignore = menu->findChild<QAction *>(QStringLiteral("mnuIgnoreAll"));
        QVERIFY(ignore);
        ignore->trigger();
        QVERIFY(underlined(second).isEmpty());

        // A correct word gets the control's usual menu alone.
        word.setPosition(1);
        menu.reset(p->spelling()->contextMenu(edit->cursorRect(word).center()));
        QVERIFY(!menu->findChild<QAction *>(QStringLiteral("mnuIgnoreAll")));
        QVERIFY(!menu->actions().isEmpty());
    }

    void spelling_nextMisspellingSelectsOrReports()
    {
        NEED_DICTIONARY();
        OPEN_EDITOR(p);
        QTextEdit *edit = p->textEdit();
        QStringList lines(500, QStringLiteral("All fine here."));
        lines.insert(3, QStringLiteral("one wrongg word"));
        lines << QStringLiteral("far down a custmer");
        setText(edit, lines.join(QLatin1Char('\n')));
        key(edit, QKeySequence(Qt::Key_F7));
        QCOMPARE(edit->textCursor().selectedText(), QStringLiteral("wrongg"));
        // Also beyond what was shown.
        key(edit, QKeySequence(Qt::Key_F7));
        QCOMPARE(edit->textCursor().selectedText(), QStringLiteral("custmer"));
        run->prompts.expectNotice(QStringLiteral("There are no more misspelled words after the caret."),
                                  QStringLiteral("Quorvane"));
        key(edit, QKeySequence(Qt::Key_F7));
        QCOMPARE(edit->textCursor().selectedText(), QStringLiteral("custmer"));
    }

    void spelling_neverMarksDocumentChanged()
    {
        NEED_DICTIONARY();
        OPEN_EDITOR(p);
        QTextEdit *edit = p->textEdit();
        QStringList lines(300, QStringLiteral("A bussiness plan."));
        setText(edit, lines.join(QLatin1Char('\n')));
        save(p, QStringLiteral("s.rtf"));
        QVERIFY(!p->docChanged());
        edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->maximum() / 2);
        QTest::qWait(50);
        checkShown(p);
        run->trigger(p, "mnuOptionsSpelling");
        run->trigger(p, "mnuOptionsSpelling");
        QTest::qWait(50);
        QVERIFY(!underlined(edit->cursorForPosition(QPoint(5, 5)).block()).isEmpty());
        QVERIFY(!p->docChanged());
    }

    void spelling_followsOpenedDocument()
    {
        NEED_DICTIONARY();
        OPEN_EDITOR(p);
        setText(p->textEdit(), QStringLiteral("An opend file"));
        const QString path = save(p, QStringLiteral("o.rtf"));
        run->openFile(p, path, std::nullopt);
        QVERIFY(!p->docChanged());
        QTRY_COMPARE(underlined(p->textEdit()->document()->firstBlock()), QStringList{"opend"});
        QVERIFY(!p->docChanged());
    }

    void spelling_withoutDictionary_disablesEntriesWithPackageName()
    {
        QTemporaryDir empty;
        EditorSpelling::setDictionaryDirectories({empty.path()});
        OPEN_EDITOR(p);
        QVERIFY(!p->spelling()->available());
        for (const char *name : {"mnuOptionsSpelling", "mnuOptionsNextMisspelling"}) {
            auto *a = child<QAction>(p, QString::fromLatin1(name));
            QVERIFY2(!a->isEnabled(), name);
            QVERIFY2(a->toolTip().contains(QLatin1String("hunspell-en-us")), qPrintable(a->toolTip()));
        }
        QVERIFY(child<QMenu>(p, QStringLiteral("mnuOptions"))->toolTipsVisible());
        setText(p->textEdit(), QStringLiteral("wrongg"));
        checkShown(p);
        QVERIFY(underlined(p->textEdit()->document()->firstBlock()).isEmpty());
        key(p->textEdit(), QKeySequence(Qt::Key_F7)); // does nothing, asks nothing
        std::unique_ptr<QMenu> menu(p->spelling()->contextMenu(QPoint(2, 2)));
        QVERIFY(!menu->findChild<QAction *>(QStringLiteral("mnuIgnoreAll")));
    }
};

QTEST_MAIN(EditorSpellingTest)
#include "test_editor_spelling.moc"
