#include "editor/FormatCommands.h"

#include "app/Prompts.h"

#include <QAction>
#include <QActionGroup>
#include <QFontDatabase>
#include <QFontInfo>
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

QColor formatColor(const QTextCharFormat &f, const QColor &fallback)
{
    return f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : fallback;
}

} // namespace

FormatCommands::FormatCommands(QTextEdit *edit, Prompts &prompts) : QObject(edit), m_edit(edit), m_prompts(prompts)
{
    connect(addAction("mnuOptionsFont", QStringLiteral("Font"), QKeySequence(Qt::CTRL | Qt::Key_T)), &QAction::triggered,
            this, &FormatCommands::chooseFont);
    connect(addAction("mnuOptionsColor", QStringLiteral("Color"), QKeySequence(Qt::CTRL | Qt::Key_L)), &QAction::triggered,
            this, &FormatCommands::chooseColor);

    addSeparator("HyphenFormat");
    m_bold = addToggle("mnuOptionsBold", QStringLiteral("&Bold"), QKeySequence(Qt::CTRL | Qt::Key_B),
                       [](QTextCharFormat &f, bool on) { f.setFontWeight(on ? QFont::Bold : QFont::Normal); });
    m_italic = addToggle("mnuOptionsItalic", QStringLiteral("&Italic"), QKeySequence(Qt::CTRL | Qt::Key_I),
                         [](QTextCharFormat &f, bool on) { f.setFontItalic(on); });
    m_underline = addToggle("mnuOptionsUnderline", QStringLiteral("&Underline"), QKeySequence(Qt::CTRL | Qt::Key_U),
                            [](QTextCharFormat &f, bool on) { f.setFontUnderline(on); });

    addSeparator("HyphenAlign");
    m_alignments = new QActionGroup(this);
    addAlignment("mnuOptionsAlignLeft", QStringLiteral("Align &Left"), QKeySequence(), Qt::AlignLeft);
    addAlignment("mnuOptionsCenter", QStringLiteral("&Center"), QKeySequence(Qt::CTRL | Qt::Key_E), Qt::AlignHCenter);
    addAlignment("mnuOptionsAlignRight", QStringLiteral("Align &Right"), QKeySequence(), Qt::AlignRight);
    addAlignment("mnuOptionsJustify", QStringLiteral("&Justify"), QKeySequence(Qt::CTRL | Qt::Key_J), Qt::AlignJustify);

    connect(m_edit, &QTextEdit::currentCharFormatChanged, this, &FormatCommands::showCurrentFormat);
    connect(m_edit, &QTextEdit::cursorPositionChanged, this, &FormatCommands::showCurrentFormat);
    // A format can change under a caret that stays put (undo, redo, a change made elsewhere).
    connect(m_edit, &QTextEdit::textChanged, this, &FormatCommands::showCurrentFormat);
    showCurrentFormat();
}

QAction *FormatCommands::addAction(const char *name, const QString &caption, const QKeySequence &key)
{
    auto *a = new QAction(caption, this);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(key);
    m_actions << a;
    return a;
}

void FormatCommands::addSeparator(const char *name)
{
    auto *a = new QAction(this);
    a->setSeparator(true);
    a->setObjectName(QString::fromLatin1(name));
    m_actions << a;
}

QAction *FormatCommands::addToggle(const char *name, const QString &caption, const QKeySequence &key,
                                   const std::function<void(QTextCharFormat &, bool)> &set)
{
    QAction *a = addAction(name, caption, key);
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this, set](bool on) {
        QTextCharFormat f;
        set(f, on);
        m_edit->mergeCurrentCharFormat(f);
        emit formatted();
    });
    return a;
}

void FormatCommands::addAlignment(const char *name, const QString &caption, const QKeySequence &key,
                                  Qt::Alignment alignment)
{
    QAction *a = addAction(name, caption, key);
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
}

QTextCharFormat FormatCommands::firstSelectedFormat() const
{
    const QTextCursor selection = m_edit->textCursor();
    if (!selection.hasSelection())
        return m_edit->currentCharFormat();
    // A cursor reports the character before it, except at the start of a block.
    QTextCursor at(m_edit->document());
    at.setPosition(selection.selectionStart());
    if (!at.atBlockStart())
        at.setPosition(selection.selectionStart() + 1);
    return at.charFormat();
}

void FormatCommands::chooseFont()
{
    QFont shown = firstSelectedFormat().font().resolve(m_edit->document()->defaultFont());
    // A family this system lacks ("arial" without Arial) would make the dialog fall back
    // to an unrelated default; it shows the family that actually draws the text.
    if (!QFontDatabase::hasFamily(shown.family()))
        shown.setFamilies({QFontInfo(shown).family()});
    const auto chosen = m_prompts.chooseFont(shown);
    if (!chosen) {
        emit cancelled();
        return;
    }
    // Only what the user changed in the dialog: on a selection of mixed fonts the
    // others stay as they are; on a uniform one this is the dialog's whole choice.
    QTextCharFormat change;
    if (QFontInfo(*chosen).family() != QFontInfo(shown).family())
        change.setFontFamilies({chosen->family()});
    if (chosen->bold() != shown.bold())
        change.setFontWeight(chosen->bold() ? QFont::Bold : QFont::Normal);
    if (chosen->italic() != shown.italic())
        change.setFontItalic(chosen->italic());
    if (chosen->pointSizeF() > 0 && !qFuzzyCompare(chosen->pointSizeF(), shown.pointSizeF()))
        change.setFontPointSize(chosen->pointSizeF());
    if (chosen->underline() != shown.underline())
        change.setFontUnderline(chosen->underline());
    // A new font is a change like any other: closing must offer to save it, or the
    // formatting would be lost without a word.
    if (!change.properties().isEmpty()) {
        m_edit->mergeCurrentCharFormat(change);
        emit formatted();
    }
}

void FormatCommands::chooseColor()
{
    const QColor fallback = m_edit->palette().color(QPalette::Text);
    const QColor shown = formatColor(firstSelectedFormat(), fallback);
    const auto chosen = m_prompts.chooseColor(shown);
    if (!chosen) {
        emit cancelled();
        return;
    }
    // Nothing changes when every selected character already has the chosen colour.
    bool same = chosen->rgb() == shown.rgb();
    const QTextCursor selection = m_edit->textCursor();
    if (same && selection.hasSelection()) {
        const int from = selection.selectionStart();
        const int to = selection.selectionEnd();
        for (QTextBlock b = m_edit->document()->findBlock(from); same && b.isValid() && b.position() < to; b = b.next()) {
            for (auto it = b.begin(); same && !it.atEnd(); ++it) {
                const QTextFragment f = it.fragment();
                if (f.position() + f.length() > from && f.position() < to)
                    same = formatColor(f.charFormat(), fallback).rgb() == chosen->rgb();
            }
        }
    }
    if (same)
        return;
    QTextCharFormat change;
    change.setForeground(*chosen);
    m_edit->mergeCurrentCharFormat(change);
    emit formatted();
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
