#include "editor/FormatCommands.h"

#include <QActionGroup>
#include <QMenu>
#include <QTextBlock>
#include <QTextEdit>

namespace {

Qt::Alignment horizontal(Qt::Alignment a)
{
    a &= Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignJustify)
        return Qt::AlignJustify;
    if (a & Qt::AlignHCenter)
        return Qt::AlignHCenter;
    if (a & (Qt::AlignRight | Qt::AlignTrailing))
        return Qt::AlignRight;
    return Qt::AlignLeft;
}

} // namespace

FormatCommands::FormatCommands(QTextEdit *edit, QMenu *menu) : QObject(edit), m_edit(edit)
{
    m_bold = addToggle(menu, "mnuOptionsBold", QStringLiteral("&Bold"), QKeySequence(Qt::CTRL | Qt::Key_B));
    connect(m_bold, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontWeight(on ? QFont::Bold : QFont::Normal);
        m_edit->mergeCurrentCharFormat(f);
        emit formatted();
    });
    m_italic = addToggle(menu, "mnuOptionsItalic", QStringLiteral("&Italic"), QKeySequence(Qt::CTRL | Qt::Key_I));
    connect(m_italic, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontItalic(on);
        m_edit->mergeCurrentCharFormat(f);
        emit formatted();
    });
    m_underline = addToggle(menu, "mnuOptionsUnderline", QStringLiteral("&Underline"), QKeySequence(Qt::CTRL | Qt::Key_U));
    connect(m_underline, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontUnderline(on);
        m_edit->mergeCurrentCharFormat(f);
        emit formatted();
    });

    menu->addSeparator()->setObjectName(QStringLiteral("HyphenAlign"));
    m_alignments = new QActionGroup(this);
    addAlignment(menu, "mnuOptionsAlignLeft", QStringLiteral("Align &Left"), QKeySequence(), Qt::AlignLeft);
    addAlignment(menu, "mnuOptionsCenter", QStringLiteral("&Center"), QKeySequence(Qt::CTRL | Qt::Key_E), Qt::AlignHCenter);
    addAlignment(menu, "mnuOptionsAlignRight", QStringLiteral("Align &Right"), QKeySequence(), Qt::AlignRight);
    addAlignment(menu, "mnuOptionsJustify", QStringLiteral("&Justify"), QKeySequence(Qt::CTRL | Qt::Key_J), Qt::AlignJustify);

    connect(m_edit, &QTextEdit::currentCharFormatChanged, this, &FormatCommands::showCurrentFormat);
    connect(m_edit, &QTextEdit::cursorPositionChanged, this, &FormatCommands::showCurrentFormat);
    // A format can change under a caret that stays put (undo, redo, a change made elsewhere).
    connect(m_edit, &QTextEdit::textChanged, this, &FormatCommands::showCurrentFormat);
    showCurrentFormat();
}

QAction *FormatCommands::addToggle(QMenu *menu, const char *name, const QString &caption, const QKeySequence &key)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(key);
    a->setCheckable(true);
    return a;
}

QAction *FormatCommands::addAlignment(QMenu *menu, const char *name, const QString &caption, const QKeySequence &key,
                                      Qt::Alignment alignment)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(key);
    a->setCheckable(true);
    a->setData(int(alignment));
    m_alignments->addAction(a);
    connect(a, &QAction::triggered, this, [this, alignment] {
        // Every paragraph the selection touches, in one undo step.
        QTextCursor cursor = m_edit->textCursor();
        QTextBlockFormat f;
        f.setAlignment(alignment);
        cursor.mergeBlockFormat(f);
        emit formatted();
        showCurrentFormat();
    });
    return a;
}

void FormatCommands::showCurrentFormat()
{
    const QTextCharFormat f = m_edit->currentCharFormat();
    m_bold->setChecked(f.fontWeight() > QFont::Medium);
    m_italic->setChecked(f.fontItalic());
    m_underline->setChecked(f.fontUnderline());
    const Qt::Alignment current = horizontal(m_edit->textCursor().blockFormat().alignment());
    for (QAction *a : m_alignments->actions())
        a->setChecked(Qt::Alignment(a->data().toInt()) == current);
}
