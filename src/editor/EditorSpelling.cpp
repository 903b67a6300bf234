#include "editor/EditorSpelling.h"

#include "editor/SpellHighlighter.h"
#include "text/SpellChecker.h"

#include <QAction>
#include <QLocale>
#include <QMenu>
#include <QTextEdit>

namespace {

QStringList &dictionaryDirectories()
{
    static QStringList dirs;
    return dirs;
}

} // namespace

void EditorSpelling::setDictionaryDirectories(const QStringList &dirs) { dictionaryDirectories() = dirs; }

EditorSpelling::EditorSpelling(QTextEdit *edit) : QObject(edit), m_edit(edit)
{
    const QStringList dirs = dictionaryDirectories().isEmpty() ? text::SpellChecker::systemDirectories() : dictionaryDirectories();
    m_checker = std::make_unique<text::SpellChecker>(text::SpellChecker::findDictionary(QLocale::system().name(), dirs));
    m_highlighter = new SpellHighlighter(edit, available() ? m_checker.get() : nullptr);

    m_toggle = new QAction(QStringLiteral("Check &Spelling As You Type"), this);
    m_toggle->setObjectName(QStringLiteral("mnuOptionsSpelling"));
    m_toggle->setCheckable(true);
    m_toggle->setChecked(available());
    connect(m_toggle, &QAction::toggled, m_highlighter, &SpellHighlighter::setEnabled);

    m_next = new QAction(QStringLiteral("Next &Misspelling"), this);
    m_next->setObjectName(QStringLiteral("mnuOptionsNextMisspelling"));
    m_next->setShortcut(QKeySequence(Qt::Key_F7));
    connect(m_next, &QAction::triggered, this, [this] {
        if (!selectNextMisspelling())
            emit noMoreMisspellings();
    });

    if (!available()) {
        // The program works on without a dictionary; the entries say what is missing.
        const QString tip = QStringLiteral("Spelling needs a Hunspell dictionary: install the %1 package.")
                                .arg(text::SpellChecker::fallbackPackage());
        for (QAction *a : {m_toggle, m_next}) {
            a->setEnabled(false);
            a->setToolTip(tip);
        }
    }

    m_edit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_edit, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        QMenu *menu = contextMenu(m_edit->viewport()->mapFrom(m_edit, pos));
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(m_edit->mapToGlobal(pos));
    });
}

EditorSpelling::~EditorSpelling() = default;

bool EditorSpelling::available() const { return m_checker && m_checker->isValid(); }

bool EditorSpelling::selectNextMisspelling()
{
    if (!available())
        return false;
    const text::TextMatch next = m_highlighter->nextMisspelling(m_edit->textCursor().selectionEnd());
    if (!next.found())
        return false;
    QTextCursor c = m_edit->textCursor();
    c.setPosition(next.start);
    c.setPosition(next.end(), QTextCursor::KeepAnchor);
    m_edit->setTextCursor(c);
    return true;
}

QMenu *EditorSpelling::contextMenu(const QPoint &pos)
{
    QMenu *standard = m_edit->createStandardContextMenu(m_edit->viewport()->mapTo(m_edit, pos));
    standard->setObjectName(QStringLiteral("mnuContext"));
    // Ctrl+A is Save As on this page; the menu must not promise it selects all.
    for (QAction *a : standard->actions()) {
        if (a->objectName() == QLatin1String("select-all"))
            a->setShortcut(QKeySequence());
    }
    if (!available() || !m_highlighter->isEnabled())
        return standard;
    const text::TextMatch word = m_highlighter->misspellingAt(m_edit->cursorForPosition(pos).position());
    if (!word.found())
        return standard;

    QTextCursor target(m_edit->document());
    target.setPosition(word.start);
    target.setPosition(word.end(), QTextCursor::KeepAnchor);
    const QString text = target.selectedText();

    QAction *first = standard->actions().value(0);
    const QStringList suggestions = m_checker->suggestions(text, 5);
    if (suggestions.isEmpty()) {
        QAction *none = new QAction(QStringLiteral("(no suggestions)"), standard);
        none->setEnabled(false);
        standard->insertAction(first, none);
    }
    for (const QString &s : suggestions) {
        QAction *a = new QAction(s, standard);
        a->setObjectName(QStringLiteral("mnuSuggestion"));
        QFont bold = a->font();
        bold.setBold(true);
        a->setFont(bold);
        connect(a, &QAction::triggered, this, [this, target, s]() mutable {
            target.insertText(s);
            m_edit->setTextCursor(target);
        });
        standard->insertAction(first, a);
    }
    QAction *ignore = new QAction(QStringLiteral("Ignore All"), standard);
    ignore->setObjectName(QStringLiteral("mnuIgnoreAll"));
    connect(ignore, &QAction::triggered, this, [this, text] {
        m_checker->ignore(text);
        m_highlighter->recheck();
    });
    standard->insertAction(first, ignore);
    standard->insertSeparator(first);
    return standard;
}
