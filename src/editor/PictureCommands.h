#pragma once

// Insert > Picture: a picture file inserted at the caret as one undo step, scaled down to
// the page's text width. Insert > Cover Logo: a picture held for the run, which the
// formatted plan puts on its cover above the business name.

#include "formats/Pictures.h"

#include <QList>
#include <QObject>

#include <optional>

class AppContext;
class QAction;
class QTextEdit;

class PictureCommands : public QObject {
    Q_OBJECT
public:
    PictureCommands(QTextEdit *edit, AppContext &ctx);

    // The Insert menu's entries: Picture, then Cover Logo.
    const QList<QAction *> &actions() const { return m_actions; }

    void insertPicture();
    void chooseLogo();

private:
    // The picture the user chooses, read and checked; none when cancelled or refused
    // (with the reason shown).
    std::optional<formats::Picture> choose(const QString &title);

    QTextEdit *m_edit;
    AppContext &m_ctx;
    QList<QAction *> m_actions;
};
