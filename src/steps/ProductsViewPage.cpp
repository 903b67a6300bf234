#include "steps/ProductsViewPage.h"

#include "app/AppContext.h"
#include "app/Messages.h"
#include "app/PageIds.h"
#include "app/Prompts.h"
#include "app/Widgets.h"
#include "steps/AnswerLine.h"
#include "steps/ProductsPage.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

const char *const kLineNames[ProductsViewPage::Answers] = {"lblProdServ", "lblProdDesc", "lblProdProd",
                                                           "lblProdCompare", "lblProdDiffer"};

// Entries 1 to 3 fill the left column, 4 and 5 the top of the right one.
constexpr int kColumnLeft[2] = {120, 4275};
constexpr int kColumnWidth = 3915;
constexpr int kBlockPitch = 1830;
constexpr int kLinePitch = 270;
constexpr int kLineHeight = 240;

std::array<QString *, ProductsViewPage::Answers> entryFields(PlanRecord &plan, int slot)
{
    return {&plan.ProdServ[slot], &plan.ProdDesc[slot], &plan.ProdProd[slot], &plan.ProdCompare[slot],
            &plan.ProdDiffer[slot]};
}

} // namespace

ProductsViewPage::ProductsViewPage(AppContext &ctx) : StepPage(ctx, PageId::View, 8430, 5745)
{
    setWindowTitle(QStringLiteral("Quorvane - Products & Services - View"));

    // The name heads its block in bold.
    const QFont nameFont = arialFont(8.25, true);
    const QFont answerFont = arialFont(8.25);
    for (int e = 0; e < Entries; ++e) {
        const int left = kColumnLeft[e < 3 ? 0 : 1];
        const int top = 120 + (e % 3) * kBlockPitch;
        for (int a = 0; a < Answers; ++a)
            m_lines[e][a] = makeAnswerLine(this, QStringLiteral("%1%2").arg(QLatin1String(kLineNames[a])).arg(e + 1),
                                           a == 0 ? nameFont : answerFont,
                                           twipsRect(left, top + a * kLinePitch, kColumnWidth, kLineHeight));
    }

    const int right = kColumnLeft[1];
    auto *note = makeLabel(this, "Label1",
                           QStringLiteral("(Don't worry if these lines are cut off - your information will be saved "
                                          "in the final output.)"),
                           arialFont(8.25));
    note->setGeometry(twipsRect(right, 3450, kColumnWidth, 480));

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstEntry"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setFont(arialFont(8.25));
    m_list->setGeometry(twipsRect(right, 4080, 615, 1260));
    m_list->setAccessibleName(QStringLiteral("Entry number"));

    auto *clearOne = makeButton(this, "cmdClearOne", QStringLiteral("Clear &One Entry"),
                                QStringLiteral("Click here to clear chosen product/service entry."));
    clearOne->setGeometry(twipsRect(right + 735, 4080, 1485, 450));
    connect(clearOne, &QPushButton::clicked, this, &ProductsViewPage::clearOne);

    auto *clearAll = makeButton(this, "cmdClearAll", QStringLiteral("&Clear All"),
                                QStringLiteral("Click here to clear all product/service entries."));
    clearAll->setGeometry(twipsRect(right + 735, 4650, 1485, 450));
    connect(clearAll, &QPushButton::clicked, this, &ProductsViewPage::clearAll);

    auto *back = makeButton(this, "cmdBack", QStringLiteral("&Go Back"),
                            QStringLiteral("Click here to go back to the entry page."));
    back->setGeometry(twipsRect(right + 2340, 4650, 1575, 450));
    connect(back, &QPushButton::clicked, this,
            [this] { m_ctx.nav.switchPage(this, QString::fromLatin1(PageId::BusDesc)); });

    chainTabOrder({m_list, clearOne, clearAll, back});
}

void ProductsViewPage::onLoad()
{
    for (int n = 1; n <= Entries; ++n)
        m_list->addItem(QString::number(n));
}

void ProductsViewPage::onActivate() { RefreshView(); }

void ProductsViewPage::RefreshView()
{
    for (int e = 0; e < Entries; ++e) {
        const auto fields = entryFields(m_ctx.plan, e);
        // Every label, the name too, shows an unanswered field as empty: a name stored as
        // the literal marker must not leave an earlier name standing.
        for (int a = 0; a < Answers; ++a)
            showAnswer(m_lines[e][a], *fields[a] == BlankMarker ? QString() : *fields[a]);
    }
}

void ProductsViewPage::clearEntry(int slot)
{
    const auto fields = entryFields(m_ctx.plan, slot);
    *fields[0] = productPrefix(slot + 1);
    for (int a = 1; a < Answers; ++a)
        *fields[a] = BlankMarker;
    m_ctx.shared.ProdSlot[slot] = SlotOff;
}

void ProductsViewPage::clearOne()
{
    const QList<QListWidgetItem *> chosen = m_list->selectedItems();
    if (chosen.isEmpty() || !m_ctx.prompts.askYesNo(Msg::ProdDeleteOne))
        return;
    const int slot = chosen.first()->text().toInt() - 1;
    clearEntry(slot);
    showAnswer(m_lines[slot][0], m_ctx.plan.ProdServ[slot]);
    for (int a = 1; a < Answers; ++a)
        showAnswer(m_lines[slot][a], QString());
}

void ProductsViewPage::clearAll()
{
    if (!m_ctx.prompts.askYesNo(Msg::ProdDeleteAll))
        return;
    for (int e = 0; e < Entries; ++e)
        clearEntry(e);
    RefreshView();
}
