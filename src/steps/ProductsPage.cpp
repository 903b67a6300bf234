#include "steps/ProductsPage.h"

#include "app/AppContext.h"
#include "app/Messages.h"
#include "app/PageIds.h"
#include "app/Prompts.h"
#include "app/Widgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QString productPrefix(int number) { return QString::number(number) + QStringLiteral(".  "); }

namespace {

// The caret goes to offset 5, which with a four-character prefix is its end.
constexpr int kCaretAfterPrefix = 5;

} // namespace

ProductsPage::ProductsPage(AppContext &ctx) : StepPage(ctx, PageId::BusDesc, 7140, 3870)
{
    setWindowTitle(QStringLiteral("Quorvane - Description of Products/Services"));

    auto *info = makeLabel(this, "lblInfo",
                           QStringLiteral("List each product/service individually below with its description and "
                                          "information on how it will be produced and how it compares and differs "
                                          "to/from similar/competing products/services.  Limit of 5.  Click \"Save\" "
                                          "and then \"View\" to see entries."),
                           arialFont(8.25, true));
    info->setGeometry(twipsRect(120, 90, 6900, 720));

    struct Row {
        const char *label;
        const char *caption;
        const char *box;
        QLineEdit **target;
    };
    const Row rows[] = {
        {"lblProdServ", "Product/ Service:", "txtProdServ", &m_name},
        {"lblDesc", "Description:", "txtDesc", &m_desc},
        {"lblProduced", "How will it be produced?", "txtHowProd", &m_produced},
        {"lblCompare", "How does it compare?", "txtHowCompare", &m_compare},
        {"lblDiffer", "How does it differ?", "txtHowDiffer", &m_differ},
    };
    const QFont captionFont = arialFont(8.25, true);
    int top = 900;
    for (const Row &r : rows) {
        auto *caption = makeLabel(this, r.label, QString::fromLatin1(r.caption), captionFont);
        caption->setWordWrap(false);
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        caption->setGeometry(twipsRect(120, top, 2040, 315));
        QLineEdit *box = makeLineBox(this, r.box);
        box->setGeometry(twipsRect(2280, top, 4740, 315));
        caption->setBuddy(box);
        *r.target = box;
        top += 420;
    }
    chainTabOrder({m_name, m_desc, m_produced, m_compare, m_differ});

    watch(m_name);
    watch(m_produced);
    watch(m_compare);
    watch(m_differ);
    // A description typed while the list is full is not an entry that could be saved.
    connect(m_desc, &QLineEdit::textChanged, this, [this] {
        markChanged();
        if (nameBoxShowsFull())
            markClean();
    });

    // The common Save stores the boxes; this one asks for a slot first.
    auto *save = makeButton(this, "cmdSave", QStringLiteral("&Save Information"),
                            QStringLiteral("Click here to save your information."));
    save->setGeometry(twipsRect(120, 3210, 1935, 495));
    connect(save, &QPushButton::clicked, this, &ProductsPage::saveInformation);

    auto *view = makeButton(this, "cmdView", QStringLiteral("&View Entries"),
                            QStringLiteral("Click here to save your information."));
    view->setGeometry(twipsRect(2602, 3210, 1935, 495));
    connect(view, &QPushButton::clicked, this, &ProductsPage::viewEntries);

    auto *ret = makeReturnButton();
    ret->setGeometry(twipsRect(5085, 3210, 1935, 495));

    chainTabOrder({m_differ, save, view, ret});
}

void ProductsPage::onLoad()
{
    markClean();
    // As on the employees page: free, unless Fill Steps restored an entry there.
    markProductSlots(m_ctx.plan, m_ctx.shared);
}

void ProductsPage::onActivate()
{
    prepareBoxes(true);
    markClean();
}

int ProductsPage::lowestFreeSlot() const { return ::lowestFreeSlot(m_ctx.shared.ProdSlot); }

bool ProductsPage::nameBoxShowsFull() const { return m_name->text() == Msg::ProdFullText; }

void ProductsPage::store(int slot)
{
    PlanRecord &plan = m_ctx.plan;
    plan.ProdServ[slot] = m_name->text();
    plan.ProdDesc[slot] = m_desc->text();
    plan.ProdProd[slot] = m_produced->text();
    plan.ProdCompare[slot] = m_compare->text();
    plan.ProdDiffer[slot] = m_differ->text();
    m_ctx.shared.ProdSlot[slot] = SlotOn;
}

void ProductsPage::prepareBoxes(bool caretAfterPrefix)
{
    const int free = lowestFreeSlot();
    m_name->setText(free >= 0 ? productPrefix(free + 1) : Msg::ProdFullText);
    m_desc->clear();
    m_produced->clear();
    m_compare->clear();
    m_differ->clear();
    m_name->setFocus();
    if (caretAfterPrefix)
        m_name->setCursorPosition(qMin(kCaretAfterPrefix, int(m_name->text().size())));
}

void ProductsPage::tellFull() { m_ctx.prompts.ask(Question::notice(Msg::ProdFullInfo, Msg::AppTitle)); }

void ProductsPage::saveInformation()
{
    const int free = lowestFreeSlot();
    if (free < 0) {
        tellFull();
    } else if (confirmSlot(free)) {
        store(free);
        prepareBoxes(lowestFreeSlot() >= 0);
    } else {
        // Cancel keeps the typing unsaved, so leaving still asks before it is lost.
        return;
    }
    markClean();
}

bool ProductsPage::confirmSlot(int slot)
{
    return m_ctx.prompts.ask(Question::okCancel(Msg::prodConfirm(slot + 1), Msg::AppTitle)) == PromptButton::Ok;
}

void ProductsPage::viewEntries()
{
    if (hasUnsavedChanges()) {
        if (m_ctx.prompts.askSaveChanges()) {
            const int free = lowestFreeSlot();
            if (free >= 0) {
                // Cancel cancels the whole command: the entry stays on the page, unsaved.
                if (!confirmSlot(free))
                    return;
                store(free);
            } else if (!nameBoxShowsFull()) {
                tellFull();
            }
            markClean();
        }
    }
    m_ctx.nav.switchPage(this, QString::fromLatin1(PageId::View));
}

void ProductsPage::storeToPlan()
{
    const int free = lowestFreeSlot();
    if (free >= 0)
        store(free);
    else
        tellFull();
}
