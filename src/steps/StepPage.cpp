#include "steps/StepPage.h"

#include "app/AppContext.h"
#include "app/PageIds.h"
#include "app/Prompts.h"
#include "app/Widgets.h"
#include "steps/FieldHelp.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include <limits>

StepPage::StepPage(AppContext &ctx, const char *name, int widthTwips, int heightTwips)
    : Page(ctx, name, widthTwips, heightTwips)
{
    new FieldHelp(*this); // hints and examples for the page's questions
}

bool StepPage::closeRequested()
{
    // Unsaved edits are not asked about: the exit question covers them.
    if (!m_ctx.nav.confirmExit())
        return false;
    m_ctx.nav.endProgram();
    return true;
}

void StepPage::save()
{
    storeToPlan();
    markClean();
}

void StepPage::leaveTo(const QString &target)
{
    if (hasUnsavedChanges()) {
        if (!m_ctx.prompts.askSaveChanges()) {
            discardOnLeave();
        } else {
            if (!canStoreOnLeave())
                return;
            save();
        }
    }
    m_ctx.nav.switchPage(this, target);
}

void StepPage::returnToMain() { leaveTo(QString::fromLatin1(PageId::Main)); }

void StepPage::watch(QLineEdit *box)
{
    connect(box, &QLineEdit::textChanged, this, [this] { markChanged(); });
}

void StepPage::watch(QPlainTextEdit *box)
{
    connect(box, &QPlainTextEdit::textChanged, this, [this] { markChanged(); });
}

QPushButton *StepPage::makeSaveButton(const QString &caption)
{
    auto *b = makeButton(this, "cmdSave", caption, QStringLiteral("Click here to save your information."));
    connect(b, &QPushButton::clicked, this, [this] { save(); });
    return b;
}

QPushButton *StepPage::makeReturnButton()
{
    auto *b = makeButton(this, "cmdReturn", QStringLiteral("&Return to Main Screen"),
                         QStringLiteral("Click here to return to the main screen."));
    connect(b, &QPushButton::clicked, this, [this] { returnToMain(); });
    return b;
}

QPlainTextEdit *makeMultiLineBox(QWidget *parent, const char *name)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setTabChangesFocus(true);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setFont(arialFont(8.25));
    return box;
}

QString multiLineText(const QPlainTextEdit *box)
{
    // toPlainText() would turn a no-break space into a space and a line separator into
    // a line end.
    return box->document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

QLineEdit *makeLineBox(QWidget *parent, const char *name, QLineEdit *box)
{
    if (!box)
        box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setFont(arialFont(8.25));
    // Answers have no length limit (the toolkit's default stops at 32,767 characters).
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}
