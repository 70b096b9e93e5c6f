#include "common/TestMain.h"
#include "shell/WindowPlacement.h"

#include <QTest>

using velora::shell::WindowPlacement;

class TestWindowPlacement : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void coordinate_data() {
        QTest::addColumn<double>("stored");
        QTest::addColumn<double>("window");
        QTest::addColumn<double>("screen");
        QTest::addColumn<double>("expected");
        QTest::newRow("kept") << 1200.0 << 9000.0 << 28800.0 << 1200.0;
        QTest::newRow("zero kept") << 0.0 << 9000.0 << 28800.0 << 0.0;
        QTest::newRow("centred") << -1.0 << 9000.0 << 28800.0 << 9900.0;
        QTest::newRow("centred to a half") << -1.0 << 11325.0 << 28800.0 << 8737.5;
        QTest::newRow("at the screen edge kept") << 28800.0 << 9000.0 << 28800.0 << 28800.0;
        QTest::newRow("beyond the screen centred") << 28801.0 << 9000.0 << 28800.0 << 9900.0;
        QTest::newRow("other negative kept") << -450.0 << 9000.0 << 28800.0 << -450.0;
        QTest::newRow("window wider than screen") << -1.0 << 30000.0 << 28800.0 << -600.0;
    }

    void coordinate() {
        QFETCH(double, stored);
        QFETCH(double, window);
        QFETCH(double, screen);
        QFETCH(double, expected);
        QCOMPARE(WindowPlacement::placeCoordinate(stored, window, screen), expected);
    }

    // Each direction follows its own screen extent: a left that fits stays while a top
    // beyond the screen height is centred.
    void directionsAreIndependent() {
        const QSizeF screen(28800, 16200);
        QCOMPARE(WindowPlacement::place(20000, 17000, 6000, 9000, screen),
                 QRectF(20000, 3600, 6000, 9000));
        QCOMPARE(WindowPlacement::place(30000, 100, 6000, 9000, screen),
                 QRectF(11400, 100, 6000, 9000));
    }

    void pixelConversion() {
        QCOMPARE(WindowPlacement::pixelsToTwips(QSize(1920, 1080)), QSizeF(28800, 16200));
        QCOMPARE(WindowPlacement::twipsToPixels(QRectF(8737.5, 3330, 11325, 9540)),
                 QRect(583, 222, 755, 636));
        QCOMPARE(WindowPlacement::twipsToPixels(QRectF(-15, -1, 15, 7)), QRect(-1, 0, 1, 0));
    }
};

VELORA_TEST(TestWindowPlacement)
#include "TestWindowPlacement.moc"
