#include "common/TestMain.h"
#include "widgets/Twips.h"

#include <QTest>
#include <limits>

using velora::widgets::Twips;
using velora::widgets::WidgetError;

// 15 twips to the pixel at 96 dpi, rounded to the nearest unit with halves away from zero, and
// kept inside int.
class TestTwips : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void conversion_data() {
        QTest::addColumn<bool>("toPixels");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("expected");
        const int largest = std::numeric_limits<int>::max();
        const int smallest = std::numeric_limits<int>::min();
        // clang-format off
        QTest::newRow("just over half a pixel") << true << 8 << 96 << 1;
        QTest::newRow("negative rounds away from zero") << true << -8 << 96 << -1;
        QTest::newRow("half a pixel at 144 dpi") << true << 5 << 144 << 1;
        QTest::newRow("largest twips") << true << largest << 96 << largest / 15;
        QTest::newRow("97 dpi rounds") << false << 1 << 97 << 15;
        QTest::newRow("overflow is held at the largest int") << false << largest << 96 << largest;
        QTest::newRow("underflow is held at the smallest int") << false << smallest << 96 << smallest;
        // clang-format on
    }
    void conversion() {
        QFETCH(bool, toPixels);
        QFETCH(int, value);
        QFETCH(int, dpi);
        QFETCH(int, expected);
        QCOMPARE(toPixels ? Twips::toPixels(value, dpi) : Twips::fromPixels(value, dpi), expected);
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
