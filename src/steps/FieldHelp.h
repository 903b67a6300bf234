#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class Page;
class QWidget;

// The hint and example answer of each question on a step page: the question's label and
// box show them as their tooltip, and F1 in the box shows them in a notice. Controls are
// matched to plan fields by their names once, when the page is first shown; nothing is
// typed into a box or stored.
class FieldHelp : public QObject {
public:
    explicit FieldHelp(Page &page);

    // Binds the page's controls; runs once, on the page's first showing.
    void attach();
    // What the control shows for its question now; empty for a control without one.
    QString textFor(const QWidget *control) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Entry pages fill the lowest free slot, so their boxes stand for that slot's field.
    enum class Slot { None, Employee, Product };
    struct Binding {
        QString field; // without the slot number when slot is not None
        Slot slot = Slot::None;
    };

    void bind(QWidget *control, const Binding &binding);
    void refreshTooltips();
    void showNotice(QWidget *box);

    Page &m_page;
    QHash<const QWidget *, Binding> m_bindings;
    bool m_attached = false;
};
