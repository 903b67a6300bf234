#include "steps/ChoicePages.h"

#include "app/AppContext.h"
#include "app/PageIds.h"
#include "app/Prompts.h"
#include "app/Widgets.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QGroupBox *makeFrame(QWidget *parent, const char *name, const QString &title, const QRect &geometry)
{
    auto *frame = new QGroupBox(title, parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setGeometry(geometry);
    return frame;
}

// A label that shows an answer; it never wraps, so a padded answer stays on one line.
QLabel *makeAnswerLabel(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *label = makeLabel(parent, name, QString(), arialFont(8.25));
    label->setWordWrap(false);
    label->setGeometry(geometry);
    return label;
}

} // namespace

OptionSet::OptionSet(QGroupBox *frame) : m_frame(frame), m_group(new QButtonGroup(frame))
{
    m_group->setExclusive(true);
}

QRadioButton *OptionSet::add(const char *name, const QString &caption, const QString &answer, const QRect &geometry)
{
    auto *button = new QRadioButton(caption, m_frame);
    button->setObjectName(QString::fromLatin1(name));
    button->setFont(questionFont());
    button->setGeometry(geometry);
    m_group->addButton(button);
    m_options.append(Option{button, answer});
    // toggled, not clicked: a selection made by the page itself counts as a click too,
    // and unchecking (on clearing) is not a choice.
    QObject::connect(button, &QRadioButton::toggled, m_group, [this, answer](bool on) {
        if (on && m_selected)
            m_selected(answer);
    });
    return button;
}

void OptionSet::showStored(const QString &stored)
{
    for (const Option &o : std::as_const(m_options)) {
        if (o.answer == stored) {
            o.button->setChecked(true);
            return;
        }
    }
    clear();
}

void OptionSet::clear()
{
    // An exclusive group keeps one button checked; lift that while unchecking all.
    m_group->setExclusive(false);
    for (const Option &o : std::as_const(m_options))
        o.button->setChecked(false);
    m_group->setExclusive(true);
}

// ---------------------------------------------------------------------------------------

BusTypePage::BusTypePage(AppContext &ctx) : StepPage(ctx, PageId::BusType, 5100, 2445)
{
    setWindowTitle(QStringLiteral("Quorvane - Type of Business"));
    PendingBusType = blankPadded(19);

    makeLabel(this, "lblName", QStringLiteral("This business is a:"), questionFont())
        ->setGeometry(twipsRect(120, 240, 2100, 255));
    m_test = makeAnswerLabel(this, "lblTest", twipsRect(120, 600, 2100, 255));

    auto *frame = makeFrame(this, "fraCheckOne", QStringLiteral("(check one)"), twipsRect(2340, 120, 2640, 1395));
    m_options = std::make_unique<OptionSet>(frame);
    using F = FixedText<19>;
    m_options->add("optCorp", QStringLiteral("Corporation"), F::padded(QStringLiteral("Corporation")),
                   twipsRect(180, 330, 2340, 315));
    m_options->add("optPart", QStringLiteral("Partnership"), F::padded(QStringLiteral("Partnership")),
                   twipsRect(180, 645, 2340, 315));
    m_options->add("optSole", QStringLiteral("Sole Proprietorship"), F::padded(QStringLiteral("Sole Proprietorship")),
                   twipsRect(180, 960, 2340, 315));
    // Choosing stores nothing and leaves lblTest showing the stored answer.
    m_options->onSelected([this](const QString &answer) { PendingBusType = answer; });

    makeSaveButton()->setGeometry(twipsRect(120, 1830, 2100, 495));
    makeReturnButton()->setGeometry(twipsRect(2340, 1830, 2640, 495));
}

void BusTypePage::onActivate()
{
    const FixedText<19> &stored = m_ctx.plan.BusType;
    PendingBusType = stored;
    m_test->setText(stored == blankPadded(19) ? QString() : stored.text());
    showStoredChoice();
}

void BusTypePage::showStoredChoice()
{
    m_options->showStored(m_ctx.plan.BusType);
    PendingBusType = m_ctx.plan.BusType;
}

void BusTypePage::storeToPlan()
{
    m_ctx.plan.BusType = PendingBusType;
    // Shows "(blank)" when nothing was chosen on an unanswered page.
    m_test->setText(m_ctx.plan.BusType);
}

bool BusTypePage::hasUnsavedChanges() const { return !(PendingBusType == m_ctx.plan.BusType); }


// ---------------------------------------------------------------------------------------

BusKindPage::BusKindPage(AppContext &ctx) : StepPage(ctx, PageId::BusKind, 6885, 3735)
{
    setWindowTitle(QStringLiteral("Quorvane - Nature of Business"));
    PendingOffer = blankPadded(21);
    PendingCustomers = blankPadded(24);

    makeLabel(this, "lblName", QStringLiteral("This business provides:"), questionFont())
        ->setGeometry(twipsRect(120, 120, 3000, 255));

    // Both frames put their options in the same columns.
    const QRect first = twipsRect(150, 270, 1485, 315);
    const QRect second = twipsRect(1740, 270, 1485, 315);
    const QRect third = twipsRect(3330, 270, 840, 315);

    auto *offerFrame = makeFrame(this, "fraOffer", QStringLiteral("Choose one:"), twipsRect(120, 405, 4275, 660));
    m_offerOptions = std::make_unique<OptionSet>(offerFrame);
    using O = FixedText<21>;
    m_offerOptions->add("optProduct", QStringLiteral("Products"), O::padded(QStringLiteral("Products")), first);
    m_offerOptions->add("optService", QStringLiteral("Services"), O::padded(QStringLiteral("Services")), second);
    m_offerOptions->add("optBoth1", QStringLiteral("Both"), O::padded(QStringLiteral("Products and Services")), third);
    m_offerLabel = makeAnswerLabel(this, "lbl1", twipsRect(4515, 720, 2250, 255));
    m_offerOptions->onSelected([this](const QString &answer) {
        PendingOffer = answer;
        m_offerLabel->setText(PendingOffer);
    });

    makeLabel(this, "lblFor", QStringLiteral("for:"), questionFont())->setGeometry(twipsRect(120, 1170, 1000, 255));

    auto *customerFrame =
        makeFrame(this, "fraCustomers", QStringLiteral("Choose one:"), twipsRect(120, 1440, 4275, 660));
    m_customerOptions = std::make_unique<OptionSet>(customerFrame);
    using C = FixedText<24>;
    m_customerOptions->add("optBusinesses", QStringLiteral("Businesses"), C::padded(QStringLiteral("Businesses")),
                           first);
    m_customerOptions->add("optConsumers", QStringLiteral("Consumers"), C::padded(QStringLiteral("Consumers")),
                           second);
    m_customerOptions->add("optBoth2", QStringLiteral("Both"),
                           C::padded(QStringLiteral("Businesses and Consumers")), third);
    m_customerLabel = makeAnswerLabel(this, "lbl2", twipsRect(4515, 1755, 2250, 255));
    m_customerOptions->onSelected([this](const QString &answer) {
        PendingCustomers = answer;
        m_customerLabel->setText(PendingCustomers);
    });

    auto *soldViaLabel =
        makeLabel(this, "lblSoldVia", QStringLiteral("These products/services are sold via:"), questionFont());
    soldViaLabel->setGeometry(twipsRect(120, 2310, 3510, 255));
    m_soldVia = makeLineBox(this, "txtSoldVia");
    m_soldVia->setGeometry(twipsRect(3690, 2280, 3075, 315));
    soldViaLabel->setBuddy(m_soldVia);
    makeLabel(this, "lblSoldViaHint", QStringLiteral("(Wholesale, retail, mail order, online, etc.)"), arialFont(8.25))
        ->setGeometry(twipsRect(3690, 2625, 3075, 225));

    makeSaveButton()->setGeometry(twipsRect(120, 3120, 2100, 495));
    makeReturnButton()->setGeometry(twipsRect(4125, 3120, 2640, 495));
}

void BusKindPage::onActivate()
{
    const PlanRecord &plan = m_ctx.plan;
    m_soldVia->setText(plan.SoldVia == BlankMarker ? QString() : plan.SoldVia);
    showStoredChoices();
}

void BusKindPage::showStoredChoices()
{
    // The options and labels follow the stored answers, so the page never shows a
    // choice that differs from what is stored.
    const PlanRecord &plan = m_ctx.plan;
    m_offerOptions->showStored(plan.Offer);
    m_offerLabel->setText(plan.Offer == blankPadded(21) ? QString() : plan.Offer.text());
    m_customerOptions->showStored(plan.Customers);
    m_customerLabel->setText(plan.Customers == blankPadded(24) ? QString() : plan.Customers.text());
    PendingOffer = plan.Offer;
    PendingCustomers = plan.Customers;
}

void BusKindPage::storeToPlan()
{
    m_ctx.plan.Offer = PendingOffer;
    m_ctx.plan.Customers = PendingCustomers;
    m_ctx.plan.SoldVia = m_soldVia->text();
}

bool BusKindPage::hasUnsavedChanges() const
{
    const PlanRecord &plan = m_ctx.plan;
    // An emptied box alone is not a change: an unanswered SoldVia shows as an empty box.
    const QString soldVia = m_soldVia->text();
    return !(PendingOffer == plan.Offer) || !(PendingCustomers == plan.Customers)
        || (soldVia != plan.SoldVia && !soldVia.isEmpty());
}
