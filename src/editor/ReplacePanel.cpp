#include "editor/ReplacePanel.h"

#include "app/Widgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTextEdit>

namespace {

QLabel *buddyLabel(QWidget *parent, const char *name, const QString &caption, QWidget *buddy)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}

} // namespace

ReplacePanel::ReplacePanel(QTextEdit *edit, QWidget *parent) : QFrame(parent), m_edit(edit)
{
    setObjectName(QStringLiteral("fraReplace"));
    setFrameShape(QFrame::StyledPanel);

    m_what = new QLineEdit(this);
    m_what->setObjectName(QStringLiteral("txtFindWhat"));
    m_with = new QLineEdit(this);
    m_with->setObjectName(QStringLiteral("txtReplaceWith"));
    m_matchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    m_matchCase->setObjectName(QStringLiteral("chkMatchCase"));
    m_wholeWords = new QCheckBox(QStringLiteral("&Whole words"), this);
    m_wholeWords->setObjectName(QStringLiteral("chkWholeWords"));
    auto *next = makeButton(this, "cmdFindNext", QStringLiteral("Find &Next"),
                            QStringLiteral("Click here to select the next match after the caret."));
    auto *previous = makeButton(this, "cmdFindPrevious", QStringLiteral("Find &Previous"),
                                QStringLiteral("Click here to select the match before the caret."));
    auto *replaceOne = makeButton(this, "cmdReplace", QStringLiteral("Rep&lace"),
                                  QStringLiteral("Click here to replace the selected match and find the next."));
    auto *replaceEvery = makeButton(this, "cmdReplaceAll", QStringLiteral("Replace &All"),
                                    QStringLiteral("Click here to replace every match in the document."));
    auto *closeButton = makeButton(this, "cmdCloseReplace", QStringLiteral("Clo&se"),
                                   QStringLiteral("Click here to close the find and replace bar."));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblReplaceStatus"));

    // The boxes take the whole width and the buttons a row of their own, so both boxes stay
    // usable at the page's load size.
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(twips(90), twips(60), twips(90), twips(60));
    grid->addWidget(buddyLabel(this, "lblFindWhat", QStringLiteral("Find w&hat:"), m_what), 0, 0);
    grid->addWidget(m_what, 0, 1, 1, 3);
    grid->addWidget(buddyLabel(this, "lblReplaceWith", QStringLiteral("Replace wi&th:"), m_with), 1, 0);
    grid->addWidget(m_with, 1, 1, 1, 3);
    grid->addWidget(m_matchCase, 2, 1);
    grid->addWidget(m_wholeWords, 2, 2);
    grid->addWidget(m_status, 2, 3, Qt::AlignRight);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {next, previous, replaceOne, replaceEvery})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    grid->addLayout(buttons, 3, 0, 1, 4);
    grid->setColumnStretch(3, 1);

    connect(next, &QPushButton::clicked, this, &ReplacePanel::findNext);
    connect(previous, &QPushButton::clicked, this, &ReplacePanel::findPrevious);
    connect(replaceOne, &QPushButton::clicked, this, &ReplacePanel::replace);
    connect(replaceEvery, &QPushButton::clicked, this, &ReplacePanel::replaceAll);
    connect(closeButton, &QPushButton::clicked, this, [this] {
        hide();
        m_edit->setFocus();
    });
    connect(m_what, &QLineEdit::returnPressed, this, &ReplacePanel::findNext);
    connect(m_with, &QLineEdit::returnPressed, this, &ReplacePanel::replace);
    connect(m_what, &QLineEdit::textEdited, this, [this] { setStatus(QString()); });
    hide();
}

void ReplacePanel::open(const QString &what)
{
    if (!what.isEmpty())
        m_what->setText(what);
    setStatus(QString());
    show();
    m_what->setFocus();
    m_what->selectAll();
}

text::SearchOptions ReplacePanel::options() const { return {m_matchCase->isChecked(), m_wholeWords->isChecked()}; }

QString ReplacePanel::status() const { return m_status->text(); }

void ReplacePanel::setStatus(const QString &text) { m_status->setText(text); }

bool ReplacePanel::find(bool backward)
{
    const QString what = m_what->text();
    if (what.isEmpty()) {
        setStatus(QString());
        return false;
    }
    const QTextDocument &doc = *m_edit->document();
    const QTextCursor cursor = m_edit->textCursor();
    const int from = backward ? cursor.selectionStart() : cursor.selectionEnd();
    text::TextMatch match = text::findInDocument(doc, what, from, options(), backward);
    QString status;
    if (!match.found()) {
        // Round past the end (or start) once, as any editor's search does.
        match = text::findInDocument(doc, what, backward ? doc.characterCount() : 0, options(), backward);
        status = backward ? QStringLiteral("Passed the start.") : QStringLiteral("Passed the end.");
    }
    if (!match.found()) {
        setStatus(QStringLiteral("Not found."));
        return false;
    }
    QTextCursor select(m_edit->document());
    select.setPosition(match.start);
    select.setPosition(match.end(), QTextCursor::KeepAnchor);
    m_edit->setTextCursor(select);
    setStatus(status);
    return true;
}

bool ReplacePanel::findNext() { return find(false); }

bool ReplacePanel::findPrevious() { return find(true); }

void ReplacePanel::replace()
{
    QTextCursor cursor = m_edit->textCursor();
    if (cursor.hasSelection()
        && text::isMatch(*m_edit->document(), cursor.selectionStart(), cursor.selectionEnd(), m_what->text(), options())) {
        cursor.insertText(m_with->text());
        m_edit->setTextCursor(cursor);
    }
    findNext();
}

int ReplacePanel::replaceAll()
{
    const int n = text::replaceAll(*m_edit->document(), m_what->text(), m_with->text(), options());
    const QString count = QLocale(QLocale::English, QLocale::UnitedStates).toString(n);
    setStatus(n == 0 ? QStringLiteral("Not found.")
                     : n == 1 ? QStringLiteral("1 replaced.") : QStringLiteral("%1 replaced.").arg(count));
    return n;
}

void ReplacePanel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        m_edit->setFocus();
        return;
    }
    QFrame::keyPressEvent(event);
}
