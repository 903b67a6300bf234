// The financial plan's charts: drawn at 300 dpi at the size asked, with the bars, the
// hatching that tells expenses from income without colour, and amounts as people write them.

#include "plandoc/Charts.h"

#include <QTest>

using namespace plandoc::charts;

class ChartsTest : public QObject {
    Q_OBJECT
private slots:
    void amount_data()
    {
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("shown");
        QTest::newRow("zero") << qint64(0) << QStringLiteral("$0");
        QTest::newRow("thousands") << qint64(1250000) << QStringLiteral("$12,500");
        QTest::newRow("millions, rounded") << qint64(123456789) << QStringLiteral("$1,234,568");
        QTest::newRow("below zero") << qint64(-30000) << QStringLiteral("-$300");
    }
    void amount()
    {
        QFETCH(qint64, cents);
        QFETCH(QString, shown);
        QCOMPARE(plandoc::charts::amount(cents, QStringLiteral("$")), shown);
    }

    void monthlyChart_drawsAtPrintResolutionAndReadsInGrey()
    {
        Figures f;
        for (int m = 0; m < 12; ++m) {
            f.labels << QStringLiteral("M%1 2027").arg(m + 1);
            f.income.push_back(800000 + m * 50000);
            f.expenses.push_back(900000);
            f.cash.push_back(-100000 + m * 200000);
        }
        const QImage image = monthlyChart(f, QSizeF(6.5, 3.6));
        QCOMPARE(image.size(), QSize(1950, 1080));
        QCOMPARE(qRound(image.dotsPerMeterX() * 0.0254), Dpi);
        // Dark income bars, light expenses bars under black hatching, and white around.
        int dark = 0, light = 0, white = 0;
        const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
        for (int y = 0; y < grey.height(); y += 3)
            for (int x = 0; x < grey.width(); x += 3) {
                const int v = grey.pixel(x, y) & 0xff;
                dark += v < 80;
                light += v > 150 && v < 230;
                white += v == 255;
            }
        QVERIFY2(dark > 2000 && light > 2000 && white > 50000,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(dark).arg(light).arg(white)));
        QCOMPARE(yearlyChart({{QStringLiteral("Year 1")}, {1}, {1}, {}}, QSizeF(2, 1)).size(), QSize(600, 300));
    }
};

QTEST_MAIN(ChartsTest)
#include "test_charts.moc"
