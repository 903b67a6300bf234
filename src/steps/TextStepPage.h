#pragma once

#include "steps/StepPage.h"

#include <QLineEdit>
#include <QString>

#include <vector>

struct PlanRecord;
class QPlainTextEdit;

// A rectangle in twips, relative to the frame (or page) that holds the control.
struct TwipsRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// The plan field a box edits.
using FieldRef = QString &(*)(PlanRecord &);

// One answer box of a text page and the question above or beside it.
struct TextBoxDesc {
    const char *name = nullptr;       // "txtName"
    FieldRef field = nullptr;
    const char *label = nullptr;      // question text; null when the box has none
    const char *labelName = nullptr;  // null: the box name with "lbl" for "txt"
    const char *labelTip = nullptr;   // tooltip of the question label
    int frame = -1;                   // index into the page's frames; -1: on the page
    bool labelOnPage = false;         // the label stands on the page, outside the box's frame
    TwipsRect labelRect = {};
    TwipsRect boxRect = {};
    bool multiLine = false;
    const char *blankText = "";       // what the box shows for an unanswered field
    int caretOffset = -1;             // caret position on every focus-in; -1: none
    const char *accessibleName = nullptr; // what a screen reader calls the box; null: its label
};

// A button that leaves for another page of the chain.
struct ChainButtonDesc {
    const char *name;
    const char *caption;
    const char *tooltip;
    const char *target;
    int width; // twips
};

// Everything that sets one text page apart from the others.
struct TextPageDesc {
    const char *id = nullptr;
    const char *caption = nullptr;
    int width = 0, height = 0; // client size, twips
    std::vector<TwipsRect> frames = {};
    std::vector<TextBoxDesc> boxes = {};        // in tab order
    std::vector<const char *> fieldOrder = {};  // box names; empty: the tab order
    bool blankTest = true;               // show BlankMarker as blankText
    bool focusFirstWhenBlank = false;    // focus the first field's box while it is unanswered
    int buttonTop = 0;                   // twips
    std::vector<ChainButtonDesc> chain = {}; // after Save and Return, left to right
};

// A single-line box that puts the caret at a fixed offset whenever it receives the
// focus from another control, so typing continues after a prefix such as "http://".
// Focus that comes back with the window (after a message box or from another window)
// or from a context menu leaves the caret where the user had it.
class CaretLineEdit : public QLineEdit {
public:
    CaretLineEdit(QWidget *parent, int offset) : QLineEdit(parent), m_offset(offset) {}
    int caretOffset() const { return m_offset; }
    void placeCaret();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_offset;
    bool m_clickFocus = false;
};

// A step page made of question labels and text boxes, described by a TextPageDesc.
class TextStepPage : public StepPage {
    Q_OBJECT
public:
    TextStepPage(AppContext &ctx, const TextPageDesc &desc);

    void onActivate() override;

protected:
    void storeToPlan() override;

private:
    struct Box {
        const TextBoxDesc *desc;
        QLineEdit *line = nullptr;
        QPlainTextEdit *multi = nullptr;
        QWidget *widget() const;
        QString text() const;
        void setText(const QString &text) const;
    };

    void buildButtons();

    const TextPageDesc &m_desc;
    std::vector<Box> m_boxes;     // tab order
    std::vector<int> m_fieldOrder; // indices into m_boxes
};
