#include "common/TestMain.h"
#include "widgets/SplitterGeometry.h"
#include "widgets/WidgetError.h"
#include "widgets/cSplitter.h"

#include <QFrame>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <functional>
#include <memory>

using namespace velora::widgets;

namespace {

// A container with two panes bound side by side, shown off screen so that mouse events on the
// bar are delivered as they would be to the operator.
struct SplitFixture {
    explicit SplitFixture(int width = 500, int height = 300, int orientation = 2) {
        container.resize(width, height);
        left->setObjectName(QStringLiteral("left"));
        right->setObjectName(QStringLiteral("right"));
        split.setOrientation(orientation);
        split.setContainer(&container);
        split.Bind(left, right);
        container.show();
    }

    QWidget* bar() const { return split.bar(); }

    // Presses on the bar, moves by `by` and, when asked, releases; positions go through the
    // bar's own coordinates at each step, as the bar may have moved in between.
    void press(const QPoint& at = {}) {
        const QPoint inBar = bar()->rect().center() + at;
        pressedAt = bar()->mapTo(&container, inBar);
        QTest::mousePress(bar(), Qt::LeftButton, {}, inBar);
    }
    void moveBy(const QPoint& by) {
        QTest::mouseMove(bar(), bar()->mapFrom(&container, pressedAt + by));
    }
    void releaseAfter(const QPoint& by) {
        QTest::mouseRelease(bar(), Qt::LeftButton, {}, bar()->mapFrom(&container, pressedAt + by));
    }
    void drag(const QPoint& by) {
        press();
        moveBy(by);
        releaseAfter(by);
    }

    QWidget container;
    QWidget* left = new QWidget(&container);
    QWidget* right = new QWidget(&container);
    cSplitter split;
    QPoint pressedAt;
};

void expectError(const std::function<void()>& action, int number) {
    try {
        action();
        QFAIL("no error was raised");
    } catch (const WidgetError& error) {
        QCOMPARE(error.number(), number);
    }
}

} // namespace

class TestSplitter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newSplitterHasTheDocumentedDefaults() {
        const cSplitter split;
        QCOMPARE(split.Proportion(), 50.0);
        QCOMPARE(split.Position(), 128);
        QCOMPARE(split.SplitterSize(), 4);
        QCOMPARE(split.MinimumSize(1), 8);
        QCOMPARE(split.MinimumSize(2), 8);
        QCOMPARE(split.MaximumSize(1), -1);
        QCOMPARE(split.MaximumSize(2), -1);
        QCOMPARE(split.FullDrag(), true);
        QCOMPARE(split.KeepProportion(), false);
        QCOMPARE(split.Orientation(), 1);
        QVERIFY(!split.isReady());
    }

    void refusedValuesFailWith380AndKeepTheOldValue_data() {
        QTest::addColumn<QString>("property");
        QTest::addColumn<double>("value");
        QTest::newRow("proportion above 100") << "Proportion" << 100.5;
        QTest::newRow("negative proportion") << "Proportion" << -1.0;
        QTest::newRow("proportion not a number") << "Proportion" << std::nan("");
        QTest::newRow("negative bar") << "SplitterSize" << -1.0;
        QTest::newRow("orientation 0") << "Orientation" << 0.0;
        QTest::newRow("orientation 3") << "Orientation" << 3.0;
    }
    void refusedValuesFailWith380AndKeepTheOldValue() {
        QFETCH(QString, property);
        QFETCH(double, value);
        cSplitter split;
        try {
            if (property == QLatin1String("Proportion"))
                split.setProportion(value);
            else if (property == QLatin1String("SplitterSize"))
                split.setSplitterSize(static_cast<int>(value));
            else
                split.setOrientation(static_cast<int>(value));
            QFAIL("the value was accepted");
        } catch (const WidgetError& error) {
            QCOMPARE(error.number(), 380);
            QVERIFY2(error.source().endsWith(QLatin1String(".cSplitter")),
                     qPrintable(error.source()));
            QVERIFY(!error.source().startsWith(QLatin1Char('.')));
        }
        QCOMPARE(split.Proportion(), 50.0);
        QCOMPARE(split.SplitterSize(), 4);
        QCOMPARE(split.Orientation(), 1);
    }

    void proportionAcceptsBothEnds() {
        cSplitter split;
        split.setProportion(0);
        QCOMPARE(split.Proportion(), 0.0);
        split.setProportion(100);
        QCOMPARE(split.Proportion(), 100.0);
        split.setSplitterSize(0);
        QCOMPARE(split.SplitterSize(), 0);
    }

    void paneIndexOtherThanOneOrTwoFailsWith9() {
        cSplitter split;
        expectError([&] { split.setMinimumSize(0, 10); }, 9);
        expectError([&] { split.setMaximumSize(3, 10); }, 9);
        expectError([&] { (void)split.MinimumSize(3); }, 9);
    }

    void limits_data() {
        QTest::addColumn<int>("inner");
        QTest::addColumn<int>("min1");
        QTest::addColumn<int>("min2");
        QTest::addColumn<int>("max1");
        QTest::addColumn<int>("max2");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("expected");
        QTest::newRow("within limits") << 500 << 8 << 8 << -1 << -1 << 250 << 250;
        QTest::newRow("second pane minimum") << 500 << 8 << 100 << -1 << -1 << 450 << 396;
        QTest::newRow("second pane exactly at its minimum")
            << 500 << 8 << 100 << -1 << -1 << 396 << 396;
        QTest::newRow("first pane minimum") << 500 << 50 << 8 << -1 << -1 << 10 << 50;
        QTest::newRow("first pane maximum") << 500 << 8 << 8 << 200 << -1 << 350 << 200;
        QTest::newRow("second pane maximum") << 500 << 8 << 8 << -1 << 100 << 100 << 396;
        QTest::newRow("first minimum beats first maximum")
            << 500 << 300 << 8 << 200 << -1 << 250 << 300;
        QTest::newRow("first minimum beats second minimum")
            << 500 << 450 << 100 << -1 << -1 << 460 << 450;
        QTest::newRow("second minimum beats second maximum")
            << 500 << 8 << 100 << -1 << 50 << 100 << 396;
        QTest::newRow("zero means no minimum") << 500 << 0 << 0 << -1 << -1 << -5 << -5;
        QTest::newRow("zero means no maximum") << 500 << 8 << 0 << 0 << 0 << 499 << 499;
    }
    void limits() {
        QFETCH(int, inner);
        QFETCH(int, min1);
        QFETCH(int, min2);
        QFETCH(int, max1);
        QFETCH(int, max2);
        QFETCH(int, position);
        QFETCH(int, expected);
        SplitterGeometry geometry;
        geometry.setMinimumSize(1, min1);
        geometry.setMinimumSize(2, min2);
        geometry.setMaximumSize(1, max1);
        geometry.setMaximumSize(2, max2);
        QCOMPARE(geometry.limited(position, inner), expected);
    }

    void withoutAContainerOnlyTheFirstPaneLimitsApply() {
        SplitterGeometry geometry;
        geometry.setMinimumSize(2, 100);
        geometry.setMaximumSize(1, 300);
        QCOMPARE(geometry.limited(5000, std::nullopt), 300);
        QCOMPARE(geometry.limited(2, std::nullopt), 8);
    }

    void bindLaysThePanesOutInsideTheContainerFrame() {
        QFrame container;
        container.setFrameStyle(QFrame::Box | QFrame::Plain);
        container.setLineWidth(3);
        container.resize(506, 306);
        auto* left = new QWidget(&container);
        auto* right = new QWidget(&container);
        cSplitter split;
        split.setOrientation(2);
        split.setPosition(150);
        split.Bind(left, right);
        QCOMPARE(split.Container(), &container);
        QCOMPARE(left->geometry(), QRect(3, 3, 150, 300));
        QCOMPARE(split.bar()->geometry(), QRect(153, 3, 4, 300));
        QCOMPARE(right->geometry(), QRect(157, 3, 346, 300));
    }

    void bindMovesForeignPanesIntoTheContainerKeepingThemVisible() {
        QWidget container;
        container.resize(400, 200);
        QWidget elsewhere;
        auto* left = new QWidget(&elsewhere);
        auto* right = new QWidget(&elsewhere);
        right->hide();
        cSplitter split;
        split.setContainer(&container);
        split.Bind(left, right);
        QCOMPARE(left->parentWidget(), &container);
        QCOMPARE(right->parentWidget(), &container);
        QVERIFY(!left->isHidden());
        QVERIFY(right->isHidden());
    }

    void bindWithoutAnyContainerFailsWith5() {
        QWidget loose1;
        QWidget loose2;
        cSplitter split;
        expectError([&] { split.Bind(&loose1, &loose2); }, 5);
        expectError([&] { split.Bind(nullptr, &loose2); }, 5);
    }

    void fullDragMovesThePanesWithTheMouseAndStopsAtTheSecondMinimum() {
        SplitFixture f;
        f.split.setMinimumSize(2, 100);
        QSignalSpy resized(&f.split, &cSplitter::Resized);
        f.press();
        f.moveBy({100, 37});
        QCOMPARE(f.left->width(), 228);
        QVERIFY(f.split.isDragging());
        f.moveBy({322, 0});
        QCOMPARE(f.left->width(), 396);
        f.releaseAfter({322, 0});
        QVERIFY(!f.split.isDragging());
        QCOMPARE(f.split.Position(), 396);
        QCOMPARE(f.right->geometry(), QRect(400, 0, 100, 300));
        QCOMPARE(f.bar()->geometry(), QRect(396, 0, 4, 300));
        QCOMPARE(resized.count(), 3);
    }

    void withoutFullDragOnlyTheHatchedBarMovesUntilRelease() {
        SplitFixture f;
        f.split.setFullDrag(false);
        f.press();
        f.moveBy({-60, 0});
        QCOMPARE(f.left->width(), 128);
        QVERIFY(f.split.dragBar());
        QVERIFY(f.split.dragBar()->isVisible());
        QCOMPARE(f.split.dragBar()->geometry(), QRect(68, 0, 4, 300));
        f.releaseAfter({-60, 0});
        QCOMPARE(f.left->width(), 68);
        QVERIFY(!f.split.dragBar());
    }

    void dragUpdatesTheProportion() {
        SplitFixture f(400);
        f.drag({72, 0});
        QCOMPARE(f.split.Position(), 200);
        QCOMPARE(f.split.Proportion(), 50.0);
    }

    void onlyTheLeftButtonStartsADrag() {
        SplitFixture f;
        const QPoint inBar = f.bar()->rect().center();
        QTest::mousePress(f.bar(), Qt::RightButton, {}, inBar);
        QVERIFY(!f.split.isDragging());
        QTest::mouseMove(f.bar(), inBar + QPoint(50, 0));
        QTest::mouseRelease(f.bar(), Qt::RightButton, {}, inBar + QPoint(50, 0));
        QCOMPARE(f.split.Position(), 128);
        QCOMPARE(f.left->width(), 128);
    }

    void beforeDragGetsThePressPositionAndCanCancel() {
        SplitFixture f;
        QPoint reported;
        connect(&f.split, &cSplitter::BeforeDrag, this, [&](int x, int y, bool& cancel) {
            reported = QPoint(x, y);
            cancel = true;
        });
        f.drag({80, 0});
        QCOMPARE(reported, f.pressedAt);
        QCOMPARE(f.split.Position(), 128);
        QCOMPARE(f.left->width(), 128);
    }

    void keepProportionPlacesTheBarByShareOnResize() {
        SplitFixture f(800);
        f.split.setKeepProportion(true);
        f.split.setProportion(25);
        QCOMPARE(f.split.Position(), 200);
        f.container.resize(400, 300);
        QCOMPARE(f.split.Position(), 100);
        QCOMPARE(f.right->geometry(), QRect(104, 0, 296, 300));
        f.split.setMinimumSize(1, 150);
        QCOMPARE(f.split.Position(), 150);
    }

    void resizeWithoutKeepProportionKeepsTheFirstPaneWidth() {
        SplitFixture f;
        f.split.setPosition(200);
        QSignalSpy resized(&f.split, &cSplitter::Resized);
        f.container.resize(900, 400);
        QCOMPARE(f.left->geometry(), QRect(0, 0, 200, 400));
        QCOMPARE(f.right->geometry(), QRect(204, 0, 696, 400));
        QCOMPARE(resized.count(), 1);
    }

    void aPaneThatWouldGetANegativeWidthStopsTheLayout() {
        SplitFixture f;
        f.split.setPosition(300);
        const QRect before = f.right->geometry();
        QSignalSpy resized(&f.split, &cSplitter::Resized);
        f.container.resize(250, 300);
        QCOMPARE(f.left->geometry(), QRect(0, 0, 300, 300));
        QCOMPARE(f.right->geometry(), before);
        QCOMPARE(resized.count(), 0);
    }

    void positionIsLimitedWhenSetAndStoredInTwips() {
        SplitFixture f;
        f.split.setMinimumSize(2, 100);
        f.split.setPositionTwips(5000);
        QCOMPARE(f.split.Position(), 333);
        QCOMPARE(f.split.PositionTwips(), 4995);
        f.split.setPositionTwips(f.split.PositionTwips());
        QCOMPARE(f.split.Position(), 333);
        f.split.setPosition(480);
        QCOMPARE(f.split.Position(), 396);
        QCOMPARE(f.left->width(), 396);
    }

    void stackedPanesFollowOnlyVerticalMovement() {
        SplitFixture f(300, 500, 1);
        QCOMPARE(f.left->geometry(), QRect(0, 0, 300, 128));
        QCOMPARE(f.right->geometry(), QRect(0, 132, 300, 368));
        QCOMPARE(f.bar()->cursor().shape(), Qt::SplitVCursor);
        f.drag({90, 40});
        QCOMPARE(f.split.Position(), 168);
        QCOMPARE(f.right->geometry(), QRect(0, 172, 300, 328));
        f.split.setOrientation(2);
        QCOMPARE(f.bar()->cursor().shape(), Qt::SplitHCursor);
        QCOMPARE(f.left->geometry(), QRect(0, 0, 168, 500));
    }

    void mouseEventsBeforeBindingAreIgnored() {
        QWidget container;
        cSplitter split;
        split.setContainer(&container);
        int beforeDrag = 0;
        connect(&split, &cSplitter::BeforeDrag, this, [&](int, int, bool&) { ++beforeDrag; });
        split.MouseDown(Qt::LeftButton, {}, {10, 10}, {10, 10});
        split.MouseMove(Qt::LeftButton, {}, {60, 10}, {60, 10});
        split.MouseUp(Qt::LeftButton, {}, {60, 10}, {60, 10});
        QVERIFY(!split.isDragging());
        QCOMPARE(beforeDrag, 0);
        QCOMPARE(split.Position(), 128);
    }
};

VELORA_TEST(TestSplitter)
#include "TestSplitter.moc"
