#pragma once

#include "app/Page.h"

#include <QList>
#include <QString>

// A page of fixed paragraphs with one Close button: About Shareware, Distribution and
// Warranty. The texts are set when the page loads.
class SidePage : public Page {
    Q_OBJECT
public:
    // Where Close leads: hide the page (it was opened over another), or back to the
    // Instructions page it replaced.
    enum class CloseTo { Hide, Instructions };

    struct Paragraph {
        const char *label;
        QString text;
        int blankLinesBefore; // or StackedLabel::RunsOn
    };

    SidePage(AppContext &ctx, const char *name, const QString &caption, int widthTwips, int heightTwips,
             QList<Paragraph> paragraphs, CloseTo closeTo);

    void onLoad() override;
    bool closeRequested() override;

private:
    QList<Paragraph> m_paragraphs;
    CloseTo m_closeTo;
};

// The version history in two columns, opened over the Info page.
class VersionHistoryPage : public Page {
    Q_OBJECT
public:
    explicit VersionHistoryPage(AppContext &ctx);

    void onLoad() override;
};

Page *makeSharePage(AppContext &ctx);
Page *makeDistributionPage(AppContext &ctx);
Page *makeWarrantyPage(AppContext &ctx);
