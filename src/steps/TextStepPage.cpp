#include "steps/TextStepPage.h"

#include "app/AppContext.h"
#include "app/Widgets.h"

#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <cstring>

namespace {

QRect toRect(const TwipsRect &r) { return twipsRect(r.left, r.top, r.width, r.height); }

} // namespace

void CaretLineEdit::placeCaret()
{
    deselect();
    // Past the end would be ignored, so a short text gets the caret at its end.
    setCursorPosition(std::min<int>(m_offset, int(text().size())));
}

void CaretLineEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    placeCaret();
    // The click that brought the focus would move the caret to the mouse.
    m_clickFocus = reason == Qt::MouseFocusReason;
}

void CaretLineEdit::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    if (m_clickFocus)
        placeCaret();
}

void CaretLineEdit::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    m_clickFocus = false;
}

QWidget *TextStepPage::Box::widget() const
{
    return line ? static_cast<QWidget *>(line) : static_cast<QWidget *>(multi);
}

QString TextStepPage::Box::text() const { return line ? line->text() : multiLineText(multi); }

void TextStepPage::Box::setText(const QString &text) const
{
    if (line)
        line->setText(text);
    else
        multi->setPlainText(text);
}

TextStepPage::TextStepPage(AppContext &ctx, const TextPageDesc &desc)
    : StepPage(ctx, desc.id, desc.width, desc.height), m_desc(desc)
{
    setWindowTitle(QString::fromLatin1(desc.caption));

    std::vector<QWidget *> frames;
    for (std::size_t i = 0; i < desc.frames.size(); ++i) {
        auto *frame = new QGroupBox(this);
        frame->setObjectName(QStringLiteral("Frame%1").arg(i + 1));
        frame->setGeometry(toRect(desc.frames[i]));
        frames.push_back(frame);
    }

    // Boxes are created in tab order, which is also the order of the focus chain.
    for (const TextBoxDesc &b : desc.boxes) {
        QWidget *parent = b.frame >= 0 ? frames.at(std::size_t(b.frame)) : this;
        QLabel *label = nullptr;
        if (b.label) {
            const QString fieldName = QString::fromLatin1(b.name).mid(3);
            const QByteArray labelName =
                b.labelName ? QByteArray(b.labelName) : QByteArray("lbl") + fieldName.toLatin1();
            QWidget *labelParent = b.labelOnPage ? this : parent;
            label = makeLabel(labelParent, labelName.constData(), QString::fromLatin1(b.label), questionFont());
            label->setGeometry(toRect(b.labelRect));
            if (b.labelTip)
                label->setToolTip(QString::fromLatin1(b.labelTip));
        }
        Box box{&b};
        if (b.multiLine) {
            box.multi = makeMultiLineBox(parent, b.name);
            watch(box.multi);
        } else {
            box.line = makeLineBox(parent, b.name, b.caretOffset >= 0 ? new CaretLineEdit(parent, b.caretOffset) : nullptr);
            watch(box.line);
        }
        box.widget()->setGeometry(toRect(b.boxRect));
        // The question names its box for screen readers; boxes without one carry their own.
        if (label)
            label->setBuddy(box.widget());
        if (b.accessibleName)
            box.widget()->setAccessibleName(QString::fromLatin1(b.accessibleName));
        m_boxes.push_back(box);
    }

    if (desc.fieldOrder.empty()) {
        for (std::size_t i = 0; i < m_boxes.size(); ++i)
            m_fieldOrder.push_back(int(i));
    } else {
        for (const char *name : desc.fieldOrder) {
            const auto it = std::find_if(m_boxes.begin(), m_boxes.end(),
                                         [name](const Box &b) { return std::strcmp(b.desc->name, name) == 0; });
            Q_ASSERT(it != m_boxes.end());
            m_fieldOrder.push_back(int(it - m_boxes.begin()));
        }
    }

    buildButtons();
}

void TextStepPage::buildButtons()
{
    // Save and Return as on every step page, then the chain buttons, centred in a row.
    std::vector<std::pair<QPushButton *, int>> row;
    row.emplace_back(makeSaveButton(), 1695);
    row.emplace_back(makeReturnButton(), 2055);
    for (const ChainButtonDesc &c : m_desc.chain) {
        QPushButton *b = makeButton(this, c.name, QString::fromLatin1(c.caption), QString::fromLatin1(c.tooltip));
        const QString target = QString::fromLatin1(c.target);
        connect(b, &QPushButton::clicked, this, [this, target] { leaveTo(target); });
        row.emplace_back(b, c.width);
    }

    int total = 0;
    for (const auto &[button, w] : row)
        total += w;
    const int n = int(row.size());
    const int gap = std::min(360, (m_desc.width - 240 - total) / std::max(1, n - 1));
    int left = (m_desc.width - total - gap * (n - 1)) / 2;
    QWidget *previous = m_boxes.empty() ? nullptr : m_boxes.back().widget();
    for (const auto &[button, w] : row) {
        button->setGeometry(twipsRect(left, m_desc.buttonTop, w, 495));
        left += w + gap;
        if (previous)
            setTabOrder(previous, button);
        previous = button;
    }
}

void TextStepPage::onActivate()
{
    for (int i : m_fieldOrder) {
        const Box &box = m_boxes[std::size_t(i)];
        const QString value = box.desc->field(m_ctx.plan);
        if (m_desc.blankTest && value == BlankMarker)
            box.setText(QString::fromLatin1(box.desc->blankText));
        else
            box.setText(value);
    }

    if (!m_boxes.empty()) {
        const Box &first = m_boxes[std::size_t(m_fieldOrder.front())];
        if (m_desc.focusFirstWhenBlank && first.desc->field(m_ctx.plan) == BlankMarker)
            first.widget()->setFocus(Qt::OtherFocusReason);
        else if (!focusWidget())
            m_boxes.front().widget()->setFocus(Qt::OtherFocusReason);
    }
    // The box that holds the focus gets it again with the page, and its text was just
    // replaced; the window's own focus-in leaves the caret alone.
    if (auto *caretBox = dynamic_cast<CaretLineEdit *>(focusWidget()))
        caretBox->placeCaret();

    // Last: filling the boxes marked the page changed.
    markClean();
}

void TextStepPage::storeToPlan()
{
    for (int i : m_fieldOrder) {
        const Box &box = m_boxes[std::size_t(i)];
        box.desc->field(m_ctx.plan) = box.text();
    }
}
