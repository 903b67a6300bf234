#include "steps/FieldHelp.h"

#include "app/AppContext.h"
#include "app/Messages.h"
#include "app/Page.h"
#include "app/PageIds.h"
#include "app/Prompts.h"
#include "plan/PlanHints.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QToolTip>

#include <cstring>

namespace {

// Controls whose names do not follow "txtField" / "lblField"; a trailing "#" stands for
// the slot the entry page fills next.
struct NamedControl {
    const char *page;
    const char *control;
    const char *field;
};

const NamedControl Named[] = {
    {PageId::BusType, "lblName", "BusType"},
    {PageId::BusType, "optCorp", "BusType"},
    {PageId::BusType, "optPart", "BusType"},
    {PageId::BusType, "optSole", "BusType"},
    {PageId::BusKind, "lblName", "Offer"},
    {PageId::BusKind, "optProduct", "Offer"},
    {PageId::BusKind, "optService", "Offer"},
    {PageId::BusKind, "optBoth1", "Offer"},
    {PageId::BusKind, "lblFor", "Customers"},
    {PageId::BusKind, "optBusinesses", "Customers"},
    {PageId::BusKind, "optConsumers", "Customers"},
    {PageId::BusKind, "optBoth2", "Customers"},
    {PageId::BusKind, "lblSoldViaHint", "SoldVia"},
    {PageId::BusGoals, "lblShortGoals", "BusSTG1"},
    {PageId::BusGoals, "lblLongGoals", "BusLTG1"},
    {PageId::BusEmp, "Label1", "Emp#"},
    {PageId::BusEmp, "txtEmpInfo", "Emp#"},
    {PageId::BusDesc, "lblProdServ", "ProdServ#"},
    {PageId::BusDesc, "txtProdServ", "ProdServ#"},
    {PageId::BusDesc, "lblDesc", "ProdDesc#"},
    {PageId::BusDesc, "txtDesc", "ProdDesc#"},
    {PageId::BusDesc, "lblProduced", "ProdProd#"},
    {PageId::BusDesc, "txtHowProd", "ProdProd#"},
    {PageId::BusDesc, "lblCompare", "ProdCompare#"},
    {PageId::BusDesc, "txtHowCompare", "ProdCompare#"},
    {PageId::BusDesc, "lblDiffer", "ProdDiffer#"},
    {PageId::BusDesc, "txtHowDiffer", "ProdDiffer#"},
};

bool isBox(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QPlainTextEdit *>(w)
        || qobject_cast<const QAbstractButton *>(w);
}

// Plain text as a tooltip would not wrap, and a short rich text wraps at half the width
// of a long one; a table of fixed width keeps every tip the same comfortable measure.
// The words and line breaks stay as they are.
QString tooltipOf(const QString &text)
{
    if (text.isEmpty())
        return text;
    const int width = QFontMetrics(QToolTip::font()).averageCharWidth() * 64;
    return QStringLiteral("<table width=\"%1\"><tr><td style=\"white-space:pre-wrap\">%2</td></tr></table>")
        .arg(width)
        .arg(text.toHtmlEscaped());
}

// The caret and selection of a box, put back after the notice.
struct Caret {
    int position = -1;
    int anchor = -1;

    static Caret of(const QWidget *box)
    {
        if (auto *line = qobject_cast<const QLineEdit *>(box)) {
            const int pos = line->cursorPosition();
            if (!line->hasSelectedText())
                return {pos, pos};
            const int start = line->selectionStart();
            const int end = line->selectionEnd();
            return {pos, pos == start ? end : start};
        }
        if (auto *multi = qobject_cast<const QPlainTextEdit *>(box)) {
            const QTextCursor c = multi->textCursor();
            return {c.position(), c.anchor()};
        }
        return {};
    }

    void restore(QWidget *box) const
    {
        if (position < 0)
            return;
        if (auto *line = qobject_cast<QLineEdit *>(box)) {
            if (anchor == position)
                line->setCursorPosition(position);
            else
                line->setSelection(anchor, position - anchor);
        } else if (auto *multi = qobject_cast<QPlainTextEdit *>(box)) {
            QTextCursor c = multi->textCursor();
            c.setPosition(anchor);
            c.setPosition(position, QTextCursor::KeepAnchor);
            multi->setTextCursor(c);
        }
    }
};

} // namespace

FieldHelp::FieldHelp(Page &page) : QObject(&page), m_page(page) { page.installEventFilter(this); }

void FieldHelp::attach()
{
    if (m_attached)
        return;
    m_attached = true;

    const QString pageName = m_page.objectName();
    for (const NamedControl &n : Named) {
        if (pageName != QLatin1String(n.page))
            continue;
        auto *w = m_page.findChild<QWidget *>(QString::fromLatin1(n.control));
        if (!w)
            continue;
        QString field = QString::fromLatin1(n.field);
        Slot slot = Slot::None;
        if (field.endsWith(QLatin1Char('#'))) {
            field.chop(1);
            slot = field == QLatin1String("Emp") ? Slot::Employee : Slot::Product;
        }
        bind(w, {field, slot});
    }

    // Every other box is named after its field, and its question label likewise.
    const QList<QWidget *> controls = m_page.findChildren<QWidget *>();
    for (QWidget *w : controls) {
        const QString name = w->objectName();
        if (m_bindings.contains(w) || !isBox(w) || !name.startsWith(QLatin1String("txt")))
            continue;
        if (findFieldHint(QStringView(name).mid(3)))
            bind(w, {name.mid(3)});
    }
    for (QWidget *w : controls) {
        const QString name = w->objectName();
        if (m_bindings.contains(w) || !qobject_cast<QLabel *>(w) || !name.startsWith(QLatin1String("lbl")))
            continue;
        const QString field = name.mid(3);
        auto *box = m_page.findChild<QWidget *>(QStringLiteral("txt") + field);
        if (box && m_bindings.contains(box))
            bind(w, {field});
    }
    refreshTooltips();
}

void FieldHelp::bind(QWidget *control, const Binding &binding)
{
    // A label keeps a tooltip of its own.
    if (qobject_cast<QLabel *>(control) && !control->toolTip().isEmpty())
        return;
    m_bindings.insert(control, binding);
    control->installEventFilter(this);
}

QString FieldHelp::textFor(const QWidget *control) const
{
    const auto it = m_bindings.constFind(control);
    if (it == m_bindings.constEnd())
        return {};
    const Binding &b = *it;
    const SharedState &shared = m_page.context().shared;
    int slot = 0;
    if (b.slot == Slot::Employee) {
        const int free = lowestFreeSlot(shared.EmpSlot);
        slot = free < 0 ? int(shared.EmpSlot.size()) : free + 1;
    } else if (b.slot == Slot::Product) {
        const int free = lowestFreeSlot(shared.ProdSlot);
        slot = free < 0 ? int(shared.ProdSlot.size()) : free + 1;
    }
    const FieldHint *row = findFieldHint(slot ? b.field + QString::number(slot) : b.field);
    if (!row)
        return {};
    // The employee box takes the person alone; saving puts the number in front.
    if (b.slot == Slot::Employee)
        return hintText(row->hint, row->example.mid(employeePrefix(slot).size()));
    return hintText(*row);
}

void FieldHelp::refreshTooltips()
{
    for (auto it = m_bindings.constBegin(); it != m_bindings.constEnd(); ++it)
        const_cast<QWidget *>(it.key())->setToolTip(tooltipOf(textFor(it.key())));
}

bool FieldHelp::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_page) {
        if (event->type() == QEvent::Show) {
            if (m_attached)
                refreshTooltips();
            else
                attach();
        }
        return false;
    }
    auto *w = qobject_cast<QWidget *>(watched);
    if (!w || !m_bindings.contains(w))
        return false;
    if (event->type() == QEvent::ToolTip) {
        // The slot an entry page fills moves on as entries are saved.
        w->setToolTip(tooltipOf(textFor(w)));
    } else if (event->type() == QEvent::KeyPress && isBox(w)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F1 && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            showNotice(w);
            return true;
        }
    }
    return false;
}

void FieldHelp::showNotice(QWidget *box)
{
    const QPointer<QWidget> guard(box);
    const Caret caret = Caret::of(box);
    m_page.context().prompts.ask(Question::notice(textFor(box), Msg::AppTitle));
    if (!guard)
        return;
    // The focus comes back as it does with the window, which leaves a prefix box's
    // caret alone; then the caret and selection go back where they were.
    if (!box->hasFocus())
        box->setFocus(Qt::ActiveWindowFocusReason);
    caret.restore(box);
}
