#include "info/SidePage.h"

#include "app/AppContext.h"
#include "app/PageIds.h"
#include "app/Widgets.h"
#include "info/InfoLayout.h"
#include "info/InfoTexts.h"

#include <QPushButton>

namespace {

const int kMargin = twips(120);

// The Close button at the bottom right of a page.
QPushButton *addCloseButton(Page *page)
{
    auto *close = makeButton(page, "cmdClose", InfoText::CloseCaption, InfoText::CloseTip);
    const QSize size(twips(1095), twips(495));
    close->setGeometry(page->width() - kMargin - size.width(), page->height() - kMargin - size.height(), size.width(),
                       size.height());
    close->setFocus();
    return close;
}

} // namespace

SidePage::SidePage(AppContext &ctx, const char *name, const QString &caption, int widthTwips, int heightTwips,
                   QList<Paragraph> paragraphs, CloseTo closeTo)
    : Page(ctx, name, widthTwips, heightTwips), m_paragraphs(std::move(paragraphs)), m_closeTo(closeTo)
{
    setWindowTitle(caption);
    for (const Paragraph &p : std::as_const(m_paragraphs))
        new FlowLabel(this, p.label, paragraphFont());
    auto *close = addCloseButton(this);
    connect(close, &QPushButton::clicked, this, [this] {
        if (m_closeTo == CloseTo::Instructions)
            m_ctx.nav.switchPage(this, QString::fromLatin1(PageId::Instruc));
        else
            hide();
    });
}

void SidePage::onLoad()
{
    QList<StackedLabel> stack;
    for (const Paragraph &p : std::as_const(m_paragraphs)) {
        auto *label = findChild<QLabel *>(QString::fromLatin1(p.label));
        label->setText(p.text);
        stack.append({label, p.blankLinesBefore});
    }
    stackLabels(stack, kMargin, kMargin, width() - 2 * kMargin);
}

bool SidePage::closeRequested()
{
    if (m_closeTo == CloseTo::Instructions)
        m_ctx.nav.show(QString::fromLatin1(PageId::Instruc));
    return true;
}

Page *makeSharePage(AppContext &ctx)
{
    return new SidePage(ctx, PageId::Share, InfoText::ShareTitle, 7980, 4815,
                        {{"Label1", InfoText::ShareText, 0}, {"Label2", InfoText::ShareClosing, StackedLabel::RunsOn}},
                        SidePage::CloseTo::Hide);
}

Page *makeDistributionPage(AppContext &ctx)
{
    return new SidePage(ctx, PageId::Distribution, InfoText::DistributionTitle, 7170, 5055,
                        {{"Label1", InfoText::DistributionText, 0}, {"Label2", InfoText::DistributionContact, 1}},
                        SidePage::CloseTo::Hide);
}

Page *makeWarrantyPage(AppContext &ctx)
{
    return new SidePage(ctx, PageId::Warranty, InfoText::WarrantyTitle, 7065, 4680,
                        {{"Label1", InfoText::WarrantyAsIs, 0},
                         {"Label2", InfoText::WarrantyLiability, StackedLabel::RunsOn},
                         {"Label3", InfoText::WarrantyRisk, StackedLabel::RunsOn}},
                        SidePage::CloseTo::Instructions);
}

VersionHistoryPage::VersionHistoryPage(AppContext &ctx) : Page(ctx, PageId::VersionHx, 6765, 5535)
{
    setWindowTitle(InfoText::VersionHxTitle);
    auto *title = makeLabel(this, "Label1", InfoText::VersionHxTitle, questionFont());
    title->setGeometry(kMargin, kMargin, width() - 2 * kMargin, QFontMetrics(title->font()).height());

    // Each line stands as written, so the columns do not wrap.
    const int top = title->geometry().bottom() + kMargin;
    // The earlier versions have the longer lines.
    const int leftWidth = (width() - 3 * kMargin) * 11 / 20;
    const int rightWidth = width() - 3 * kMargin - leftWidth;
    auto *left = makeLabel(this, "lblVersionHx", QString(), font());
    left->setWordWrap(false);
    left->setGeometry(kMargin, top, leftWidth, height() - top - kMargin);
    auto *close = addCloseButton(this);
    auto *right = makeLabel(this, "Label2", QString(), font());
    right->setWordWrap(false);
    right->setGeometry(2 * kMargin + leftWidth, top, rightWidth, close->y() - top - kMargin);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
}

void VersionHistoryPage::onLoad()
{
    // The history is kept in caption form; a label shows "&&" literally.
    findChild<QLabel *>(QStringLiteral("lblVersionHx"))->setText(stripAccessKeys(InfoText::VersionHxEarly));
    findChild<QLabel *>(QStringLiteral("Label2"))->setText(stripAccessKeys(InfoText::VersionHxLate));
}
