#pragma once

#include "app/Page.h"

#include <QPixmap>

class QLabel;

// About the program: who makes it, the way to the version history and, through the
// picture, to the credits. Returns to the page that opened it (InfoOrigin).
class InfoPage : public Page {
    Q_OBJECT
public:
    explicit InfoPage(AppContext &ctx);

    void onActivate() override;
    bool closeRequested() override;

    // 32 x 32: a white letter i on a dark-blue disc, the rest transparent.
    static QPixmap infoPicture();

private:
    void closePage();

    QLabel *m_contact;
};
