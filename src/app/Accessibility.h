#pragma once

class QWidget;
class QString;

// Gives every control of a window that takes the focus a name a screen reader can
// announce, where the toolkit finds none by itself: a control takes the text of the
// label whose buddy it is (without access-key marks). Buttons, check boxes and option
// buttons need nothing: the toolkit announces their caption without its "&", and
// follows it when the caption changes. Controls that already carry a name keep it.
// The Navigator runs this on every page it loads or shows, so controls added later
// are named too.
void nameControls(QWidget *window);

// What a screen reader announces as the control's name.
QString announcedName(QWidget *control);
