#include "common/TestMain.h"
#include "widgets/Twips.h"

#include <QTest>
#include <limits>

using velora::widgets::Twips;
using velora::widgets::WidgetError;

class TestTwips : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void toPixels_data() {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("pixels");
        QTest::newRow("one pixel") << 15 << 96 << 1;
        QTest::newRow("just under half") << 7 << 96 << 0;
        QTest::newRow("just over half") << 8 << 96 << 1;
        QTest::newRow("negative rounds away from zero") << -8 << 96 << -1;
        QTest::newRow("negative just under half") << -7 << 96 << 0;
        QTest::newRow("main window minimum height") << 8800 << 96 << 587;
        QTest::newRow("date field width") << 1635 << 96 << 109;
        QTest::newRow("date field height") << 315 << 96 << 21;
        QTest::newRow("one inch at 120 dpi") << 1440 << 120 << 120;
        QTest::newRow("half a pixel at 144 dpi") << 5 << 144 << 1;
        QTest::newRow("largest value")
            << std::numeric_limits<int>::max() << 96 << std::numeric_limits<int>::max() / 15;
    }
    void toPixels() {
        QFETCH(int, twips);
        QFETCH(int, dpi);
        QFETCH(int, pixels);
        QCOMPARE(Twips::toPixels(twips, dpi), pixels);
    }

    void fromPixels_data() {
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("twips");
        QTest::newRow("one pixel") << 1 << 96 << 15;
        QTest::newRow("negative") << -3 << 96 << -45;
        QTest::newRow("120 dpi") << 120 << 120 << 1440;
        QTest::newRow("97 dpi rounds") << 1 << 97 << 15;
        QTest::newRow("overflow is held at the largest int")
            << std::numeric_limits<int>::max() << 96 << std::numeric_limits<int>::max();
        QTest::newRow("underflow is held at the smallest int")
            << std::numeric_limits<int>::min() << 96 << std::numeric_limits<int>::min();
    }
    void fromPixels() {
        QFETCH(int, pixels);
        QFETCH(int, dpi);
        QFETCH(int, twips);
        QCOMPARE(Twips::fromPixels(pixels, dpi), twips);
    }

    // A stored position read back and stored again must not creep.
    void storedPositionIsStableAfterOneRoundTrip() {
        for (int stored : {5000, 4995, 1, 14, 8800}) {
            const int once = Twips::fromPixels(Twips::toPixels(stored));
            QCOMPARE(Twips::fromPixels(Twips::toPixels(once)), once);
        }
    }

    void nonPositiveResolutionFailsWithFive() {
        for (int dpi : {0, -96}) {
            try {
                Twips::toPixels(15, dpi);
                QFAIL("a resolution of zero or less was accepted");
            } catch (const WidgetError& error) {
                QCOMPARE(error.number(), 5);
                QVERIFY(error.description().contains(QString::number(dpi)));
            }
        }
    }
};

VELORA_TEST(TestTwips)
#include "TestTwips.moc"
