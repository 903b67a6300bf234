#include "editor/PictureCommands.h"

#include "app/AppContext.h"
#include "app/Messages.h"
#include "app/Prompts.h"
#include "formats/DocumentStructure.h"
#include "formats/FileRead.h"
#include "formats/Limits.h"
#include "formats/PrintLayout.h"
#include "plandoc/CoverLogo.h"

#include <QAction>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextImageFormat>

PictureCommands::PictureCommands(QTextEdit *edit, AppContext &ctx) : QObject(edit), m_edit(edit), m_ctx(ctx)
{
    const auto add = [this](const char *name, const QString &caption, void (PictureCommands::*command)()) {
        auto *action = new QAction(caption, this);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, command);
        m_actions << action;
    };
    add("mnuInsertPicture", QStringLiteral("&Picture..."), &PictureCommands::insertPicture);
    add("mnuInsertLogo", QStringLiteral("Cover &Logo..."), &PictureCommands::chooseLogo);
}

std::optional<formats::Picture> PictureCommands::choose(const QString &title)
{
    FileDialogRequest request;
    request.title = title;
    request.filters = {QStringLiteral("Pictures (*.png *.jpg *.jpeg *.gif *.bmp *.svg)"), QStringLiteral("All Files (*)")};
    request.selectedFilter = request.filters.first();
    request.confirmOverwrite = false;
    const auto chosen = m_ctx.prompts.openFile(request);
    if (!chosen || chosen->fileName.isEmpty())
        return std::nullopt;
    const auto refuse = [&](const QString &why) {
        m_ctx.prompts.ask(Question::error(Msg::pictureNotInserted(QFileInfo(chosen->fileName).fileName(), why), Msg::AppTitle));
        return std::nullopt;
    };
    QByteArray bytes;
    if (const formats::Result read = formats::readRegularFile(chosen->fileName, formats::MaxOpenBytes,
                                                              formats::fileTooLarge(), bytes);
        !read.ok)
        return refuse(read.error);
    if (formats::pictures::kindOf(bytes).isEmpty())
        return refuse(Msg::NotAPicture);
    if (const QString why = formats::pictures::checkDeclared(bytes); !why.isEmpty())
        return refuse(why);
    const formats::Picture picture = formats::pictures::decode(bytes);
    if (picture.placeholder)
        return refuse(Msg::DamagedPicture);
    return picture;
}

void PictureCommands::insertPicture()
{
    std::optional<formats::Picture> picture = choose(Msg::PictureTitle);
    if (!picture)
        return;
    picture->size = formats::pictures::fitted(picture->size, formats::printlayout::textWidth());
    QTextCursor cursor = m_edit->textCursor();
    cursor.beginEditBlock();
    formats::pictures::insert(cursor, *picture);
    cursor.endEditBlock();
    m_edit->setTextCursor(cursor);
    m_edit->setFocus();
}

// Held for the run; a plan already in the editor gets it on its cover at once, as one
// undo step, in place of the logo it had.
void PictureCommands::chooseLogo()
{
    const std::optional<formats::Picture> picture = choose(Msg::LogoTitle);
    if (!picture)
        return;
    m_ctx.logo = *picture;
    const QTextBlock title = m_edit->document()->begin();
    if (!formats::isTitle(title.blockFormat())) {
        m_ctx.prompts.ask(Question::notice(Msg::LogoForNextPlan, Msg::AppTitle));
        return;
    }
    QTextCursor cursor(title);
    cursor.beginEditBlock();
    // The old logo and its line break go first.
    if (title.begin() != title.end() && title.begin().fragment().charFormat().isImageFormat()) {
        cursor.setPosition(title.begin().fragment().position());
        cursor.setPosition(title.begin().fragment().position() + 1, QTextCursor::KeepAnchor);
        if (const QString t = title.text(); t.size() > 1 && formats::isLineSeparator(t.at(1).unicode()))
            cursor.setPosition(title.position() + 2, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    plandoc::coverlogo::insert(cursor, *picture);
    cursor.endEditBlock();
}
