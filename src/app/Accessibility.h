#pragma once

class QWidget;

// Gives every control of a window that takes the focus a name a screen reader can
// announce, where the toolkit finds none by itself: a control takes the text of the
// label whose buddy it is (without access-key marks). Buttons, check boxes and option
// buttons need nothing: the toolkit announces their caption without its "&", and
// follows it when the caption changes. Controls that already carry a name keep it.
// The Navigator runs this on every page it loads or shows, and a page on screen runs it
// when a control first shows on it, so controls added later are named too.
void nameControls(QWidget *window);
