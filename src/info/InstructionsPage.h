#pragma once

#include "app/Page.h"

class QLabel;

// How to use the program, with the ways to the Distribution, Warranty and Shareware pages.
class InstructionsPage : public Page {
    Q_OBJECT
public:
    explicit InstructionsPage(AppContext &ctx);

    void onActivate() override;
    bool closeRequested() override;

private:
    QLabel *m_why;
    QLabel *m_how;
};
