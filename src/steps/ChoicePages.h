#pragma once

#include "plan/FixedText.h"
#include "steps/StepPage.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// The option buttons of one frame, each standing for one answer of a fixed-width field.
class OptionSet {
public:
    explicit OptionSet(QGroupBox *frame);

    // answer: the text the field holds for this option, padded to the field's width.
    QRadioButton *add(const char *name, const QString &caption, const QString &answer, const QRect &geometry);
    // Runs whenever an option becomes selected, by mouse, keyboard or showStored().
    void onSelected(std::function<void(const QString &answer)> handler) { m_selected = std::move(handler); }

    // Selects the option whose answer equals the stored text (full padded width);
    // when none does, no option stays selected.
    void showStored(const QString &stored);
    void clear();

private:
    struct Option {
        QRadioButton *button;
        QString answer;
    };
    QGroupBox *m_frame;
    QButtonGroup *m_group;
    QList<Option> m_options;
    std::function<void(const QString &)> m_selected;
};

// Step 2: the legal form of the business, chosen with three option buttons.
class BusTypePage : public StepPage {
    Q_OBJECT
public:
    explicit BusTypePage(AppContext &ctx);

    void onActivate() override;

    // The business type chosen on the page and not necessarily stored yet.
    const FixedText<19> &pendingBusType() const { return PendingBusType; }

protected:
    void storeToPlan() override;
    bool hasUnsavedChanges() const override;
    void discardOnLeave() override { showStoredChoice(); }

private:
    void showStoredChoice();

    std::unique_ptr<OptionSet> m_options;
    QLabel *m_test = nullptr;
    FixedText<19> PendingBusType;
};

// Step 3: what the business provides, to whom, and through which channels.
class BusKindPage : public StepPage {
    Q_OBJECT
public:
    explicit BusKindPage(AppContext &ctx);

    void onActivate() override;

    const FixedText<21> &pendingOffer() const { return PendingOffer; }
    const FixedText<24> &pendingCustomers() const { return PendingCustomers; }

protected:
    void storeToPlan() override;
    bool hasUnsavedChanges() const override;
    void discardOnLeave() override { showStoredChoices(); }

private:
    void showStoredChoices();

    std::unique_ptr<OptionSet> m_offerOptions;
    std::unique_ptr<OptionSet> m_customerOptions;
    QLabel *m_offerLabel = nullptr;
    QLabel *m_customerLabel = nullptr;
    QLineEdit *m_soldVia = nullptr;
    FixedText<21> PendingOffer;
    FixedText<24> PendingCustomers;
};
