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
    // Refused values fail and keep the old value.
    void refusedValues() {
        cSplitter split;
        expectError([&] { split.setProportion(100.5); }, 380);
        expectError([&] { split.setProportion(std::nan("")); }, 380);
        expectError([&] { split.setSplitterSize(-1); }, 380);
        expectError([&] { split.setOrientation(3); }, 380);
        expectError([&] { split.setMinimumSize(0, 10); }, 9);
        QCOMPARE(split.Proportion(), 50.0);
        QCOMPARE(split.SplitterSize(), 4);
        QCOMPARE(split.Orientation(), 1);
    }

    void limits_data() {
        QTest::addColumn<int>("inner"); // -1: no container yet
        QTest::addColumn<int>("min1");
        QTest::addColumn<int>("min2");
        QTest::addColumn<int>("max1");
        QTest::addColumn<int>("max2");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("expected");
        QTest::newRow("within limits") << 500 << 8 << 8 << -1 << -1 << 250 << 250;
        QTest::newRow("second pane minimum") << 500 << 8 << 100 << -1 << -1 << 450 << 396;
        QTest::newRow("first pane minimum") << 500 << 50 << 8 << -1 << -1 << 10 << 50;
        QTest::newRow("first pane maximum") << 500 << 8 << 8 << 200 << -1 << 350 << 200;
        QTest::newRow("first minimum beats first maximum")
            << 500 << 300 << 8 << 200 << -1 << 250 << 300;
        QTest::newRow("second minimum beats second maximum")
            << 500 << 8 << 100 << -1 << 50 << 100 << 396;
        QTest::newRow("zero means no limit") << 500 << 0 << 0 << 0 << 0 << -5 << -5;
        QTest::newRow("no container: first pane only")
            << -1 << 8 << 100 << 300 << -1 << 5000 << 300;
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
        QCOMPARE(geometry.limited(position, inner < 0 ? std::nullopt : std::optional(inner)),
                 expected);
    }

    void bindLaysThePanesOutInsideTheContainerFrame() {
        QFrame container;
        container.setFrameStyle(QFrame::Box | QFrame::Plain);
        container.setLineWidth(3);
        container.resize(506, 306);
        auto* left = new QWidget(&container);
        QWidget elsewhere;
        auto* right = new QWidget(&elsewhere);
        right->hide();
        cSplitter split;
        expectError([&] { split.Bind(nullptr, right); }, 5);
        split.setOrientation(2);
        split.setPosition(150);
        split.Bind(left, right);
        QCOMPARE(split.Container(), &container);
        QCOMPARE(right->parentWidget(), &container);
        QVERIFY(right->isHidden());
        QCOMPARE(left->geometry(), QRect(3, 3, 150, 300));
        QCOMPARE(split.bar()->geometry(), QRect(153, 3, 4, 300));
        QCOMPARE(right->geometry(), QRect(157, 3, 346, 300));
    }

    void fullDragMovesThePanesWithTheMouseAndStopsAtTheSecondMinimum() {
        SplitFixture f;
        f.split.setMinimumSize(2, 100);
        QSignalSpy resized(&f.split, &cSplitter::Resized);
        f.press();
        f.moveBy({122, 37});
        QCOMPARE(f.left->width(), 250);
        QCOMPARE(f.split.Proportion(), 50.0);
        QVERIFY(f.split.isDragging());
        f.moveBy({322, 0});
        QCOMPARE(f.left->width(), 396);
        f.releaseAfter({322, 0});
        QVERIFY(!f.split.isDragging());
        QCOMPARE(f.split.Position(), 396);
        QCOMPARE(f.right->geometry(), QRect(400, 0, 100, 300));
        QCOMPARE(resized.count(), 3);
    }

    // Only the left button starts a drag; before binding, mouse events do nothing at all.
    void dragsThatDoNotStart() {
        SplitFixture f;
        const QPoint inBar = f.bar()->rect().center();
        QTest::mousePress(f.bar(), Qt::RightButton, {}, inBar);
        QTest::mouseMove(f.bar(), inBar + QPoint(50, 0));
        QTest::mouseRelease(f.bar(), Qt::RightButton, {}, inBar + QPoint(50, 0));
        QCOMPARE(f.left->width(), 128);

        QWidget container;
        cSplitter loose;
        loose.setContainer(&container);
        loose.MouseDown(Qt::LeftButton, {}, {10, 10}, {10, 10});
        loose.MouseMove(Qt::LeftButton, {}, {60, 10}, {60, 10});
        QVERIFY(!loose.isDragging());
        QCOMPARE(loose.Position(), 128);
    }

    // A resize keeps the first pane's width; a pane that would get a negative width stops the
    // layout.
    void resizes() {
        SplitFixture f(800);
        f.split.setPosition(200);
        f.container.resize(900, 400);
        QCOMPARE(f.left->geometry(), QRect(0, 0, 200, 400));
        QCOMPARE(f.right->geometry(), QRect(204, 0, 696, 400));
        f.split.setPosition(300);
        const QRect before = f.right->geometry();
        QSignalSpy resized(&f.split, &cSplitter::Resized);
        f.container.resize(250, 300);
        QCOMPARE(f.left->geometry(), QRect(0, 0, 300, 300));
        QCOMPARE(f.right->geometry(), before);
        QCOMPARE(resized.count(), 0);
    }
};

VELORA_TEST(TestSplitter)
#include "TestSplitter.moc"
