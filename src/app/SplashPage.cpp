#include "app/SplashPage.h"

#include "app/AppContext.h"
#include "app/PageIds.h"
#include "app/Widgets.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

SplashPage::SplashPage(AppContext &ctx) : Page(ctx, PageId::Splash, 5055, 3540)
{
    setWindowTitle(QStringLiteral("Quorvane"));

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(titlePicture());
    picture->setGeometry((width() - 252) / 2, 8, 252, 103);

    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(publisherPicture());
    image->setGeometry((width() - 274) / 2, 8 + 103 + 10, 274, 53);

    auto *info = makeButton(this, "cmdInfo", QStringLiteral("&Info"),
                            QStringLiteral("Click here for information about this program."));
    auto *exit = makeButton(this, "cmdExit", QStringLiteral("E&xit"), QStringLiteral("Click here to exit the program."));
    auto *enter = makeButton(this, "cmdEnter", QStringLiteral("&Enter"), QStringLiteral("Click here to begin."));
    info->setGeometry(twipsRect(120, 2880, 975, 495));
    exit->setGeometry(twipsRect(2040, 2880, 975, 495));
    enter->setGeometry(twipsRect(3960, 2880, 975, 495));
    chainTabOrder({enter, exit, info});
    enter->setFocus();

    connect(enter, &QPushButton::clicked, this, [this] { m_ctx.nav.switchPage(this, QString::fromLatin1(PageId::Main)); });
    connect(info, &QPushButton::clicked, this, [this] {
        m_ctx.shared.InfoOrigin = QStringLiteral("S");
        m_ctx.nav.switchPage(this, QString::fromLatin1(PageId::Info));
    });
    connect(exit, &QPushButton::clicked, this, [this] { m_ctx.nav.endProgram(); });
}

void SplashPage::onLoad()
{
    // The main page resets the plan as it loads; the two reference pages wait hidden.
    m_ctx.nav.load(QString::fromLatin1(PageId::Main));
    m_ctx.nav.load(QString::fromLatin1(PageId::Instruc));
    m_ctx.nav.load(QString::fromLatin1(PageId::Info));
}

void SplashPage::onActivate() { m_ctx.shared.InfoOrigin = QStringLiteral("N"); }

bool SplashPage::closeRequested()
{
    // Closing the first page must not leave the program running with only hidden pages.
    m_ctx.nav.endProgram();
    return true;
}

QPixmap SplashPage::titlePicture()
{
    const QColor navy(0, 0, 128), white(Qt::white), grey(128, 128, 128), black(Qt::black);
    QPixmap pm(252, 103);
    pm.fill(navy);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QString name = QStringLiteral("QUORVANE");
    const int cap = 26, gap = 4;
    const int total = name.size() * cap + (name.size() - 1) * gap;
    int x = (pm.width() - total) / 2;
    const int y = (pm.height() - 34) / 2;
    QFont f = arialFont(14, true);
    f.setPixelSize(18);
    p.setFont(f);
    for (QChar c : name) {
        // A key cap: grey shadow below and right, white top, black letter.
        p.fillRect(x + 2, y + 3, cap, 32, grey);
        p.fillRect(x, y, cap, 31, white);
        p.setPen(black);
        p.drawRect(x, y, cap - 1, 30);
        p.drawText(QRect(x, y, cap, 31), Qt::AlignCenter, QString(c));
        x += cap + gap;
    }
    return pm;
}

QPixmap SplashPage::publisherPicture()
{
    QPixmap pm(274, 53);
    pm.fill(QColor(192, 192, 192));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QFont f(QStringLiteral("Liberation Serif"));
    f.setPixelSize(28);
    f.setItalic(true);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(192, 0, 0));
    p.drawText(pm.rect(), Qt::AlignCenter, QStringLiteral("Quillmere Software"));
    return pm;
}
