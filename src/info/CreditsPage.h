#pragma once

#include "app/Page.h"

// The credits in a borderless window cut to a thirteen-pointed star. Loaded once; its
// Close, and a close request from the system, go back to the Info page and keep it.
class CreditsPage : public Page {
    Q_OBJECT
public:
    explicit CreditsPage(AppContext &ctx);

    void onLoad() override;
    void onActivate() override;
    bool closeRequested() override;
    // Over the Info page it was opened from, rather than centred on the screen.
    void placeOnScreen() override;

private:
    void backToInfo();
};
