#pragma once

#include "app/Page.h"

#include <QPixmap>

// The first page: Enter leads to the main contents page, Info to the Info page.
class SplashPage : public Page {
    Q_OBJECT
public:
    explicit SplashPage(AppContext &ctx);

    void onLoad() override;
    void onActivate() override;
    bool closeRequested() override;

    // The two pictures, drawn by the program itself.
    static QPixmap titlePicture();     // 252 x 103: the name as white key caps on dark blue
    static QPixmap publisherPicture(); // 274 x 53: the publisher in red script on light grey
};
