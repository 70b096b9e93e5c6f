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
        QTest::addColumn<double>("expected");
        QTest::newRow("kept") << 1200.0 << 9000.0 << 1200.0;
        QTest::newRow("centred to a half") << -1.0 << 11325.0 << 8737.5;
        QTest::newRow("at the screen edge kept") << 28800.0 << 9000.0 << 28800.0;
        QTest::newRow("beyond the screen centred") << 28801.0 << 9000.0 << 9900.0;
        QTest::newRow("other negative kept") << -450.0 << 9000.0 << -450.0;
        QTest::newRow("window wider than screen") << -1.0 << 30000.0 << -600.0;
    }

    void coordinate() {
        QFETCH(double, stored);
        QFETCH(double, window);
        QFETCH(double, expected);
        QCOMPARE(WindowPlacement::placeCoordinate(stored, window, 28800.0), expected);
    }

    // What is stored for a window is what brings it back: inner area and position from the
    // available area's top left (here below a 27-pixel panel), both ways in the same terms. A
    // window that would not lie whole on the screen it opens on is made to fit and moved onto it.
    void storedWindowComesBack_data() {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QRect>("stored"); // twips
        QTest::addColumn<QRect>("restored");
        QTest::newRow("ordinary") << QRect(100, 127, 800, 600) << QRect(1500, 1500, 12000, 9000)
                                  << QRect(100, 127, 800, 600);
        QTest::newRow("too wide to store, and for the screen")
            << QRect(0, 27, 2300, 700) << QRect(0, 0, 32767, 10500) << QRect(0, 27, 1920, 700);
        QTest::newRow("far off to the left")
            << QRect(-2500, 27, 800, 600) << QRect(-32768, 0, 12000, 9000)
            << QRect(0, 27, 800, 600);
        QTest::newRow("above the panel")
            << QRect(100, 0, 800, 600) << QRect(1500, -405, 12000, 9000)
            << QRect(100, 27, 800, 600);
        QTest::newRow("partly beyond the right edge")
            << QRect(1500, 127, 800, 600) << QRect(22500, 1500, 12000, 9000)
            << QRect(1120, 127, 800, 600);
        QTest::newRow("taller than the screen, low down")
            << QRect(10, 500, 800, 1200) << QRect(150, 7095, 12000, 18000)
            << QRect(10, 27, 800, 1053);
        QTest::newRow("beyond the screen is centred")
            << QRect(2000, 1100, 800, 600) << QRect(30000, 16095, 12000, 9000)
            << QRect(560, 27 + 227, 800, 600);
    }

    void storedWindowComesBack() {
        QFETCH(QRect, window);
        QFETCH(QRect, stored);
        QFETCH(QRect, restored);
        const QRect available(0, 27, 1920, 1053);
        const QRect saved = WindowPlacement::stored(window, available);
        QCOMPARE(saved, stored);
        QCOMPARE(WindowPlacement::restored(saved.left(), saved.top(), saved.width(), saved.height(),
                                           available),
                 restored);
    }
};

VELORA_TEST(TestWindowPlacement)
#include "TestWindowPlacement.moc"
