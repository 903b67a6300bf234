#pragma once

#include "app/Page.h"

// The contents page: sixteen entries leading to the steps, the document and the
// reference pages, Clear and Exit.
class MainPage : public Page {
    Q_OBJECT
public:
    explicit MainPage(AppContext &ctx);

    void onLoad() override;
    void onActivate() override;
    bool closeRequested() override;

private:
    void clearPlan();
    void exitProgram();
};
