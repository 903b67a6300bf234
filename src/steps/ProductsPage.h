#pragma once

#include "steps/StepPage.h"

class QLineEdit;

// Step 9, the entry page: one product or service at a time goes into the lowest free of
// five entry slots. The stored entries are shown on the view page.
class ProductsPage : public StepPage {
    Q_OBJECT
public:
    static constexpr int Entries = 5;

    explicit ProductsPage(AppContext &ctx);

    void onLoad() override;
    void onActivate() override;

protected:
    // The save question on return: store at once into the lowest free slot.
    void storeToPlan() override;

private:
    void saveInformation();
    void viewEntries();

    // The smallest free slot (0-based), or -1 when all five are in use.
    int lowestFreeSlot() const;
    bool nameBoxShowsFull() const;
    void store(int slot);
    // Offers the lowest free slot in empty boxes, or says the list is full.
    void prepareBoxes(bool caretAfterPrefix);
    void tellFull();
    // Asks "This product or service will be saved as #N."; true on OK.
    bool confirmSlot(int slot);

    QLineEdit *m_name = nullptr;
    QLineEdit *m_desc = nullptr;
    QLineEdit *m_produced = nullptr;
    QLineEdit *m_compare = nullptr;
    QLineEdit *m_differ = nullptr;
};

// The name box's offer for entry n (1-based): "1.  " .. "5.  ".
QString productPrefix(int number);
