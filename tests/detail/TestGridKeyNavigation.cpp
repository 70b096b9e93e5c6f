#include "common/TestMain.h"
#include "detail/GridKeyNavigation.h"

#include <QTest>

using velora::detail::GridCell;
using velora::detail::GridKeyNavigation;
using velora::detail::GridMove;

Q_DECLARE_METATYPE(GridMove)
Q_DECLARE_METATYPE(std::optional<GridCell>)

namespace {

// A week whose first two days are locked, whose Hours column cannot be typed in, and whose
// last day lets only the first four columns be changed.
bool editable(const GridCell& cell) {
    if (cell.row < 2 || cell.column == 1)
        return false;
    return cell.row < 6 || cell.column < 4;
}

} // namespace

class TestGridKeyNavigation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void moves_data() {
        QTest::addColumn<GridCell>("from");
        QTest::addColumn<GridMove>("move");
        QTest::addColumn<std::optional<GridCell>>("expected");
        using C = GridCell;
        const auto row = [](const char* name, C from, GridMove move, std::optional<C> to) {
            QTest::newRow(name) << from << move << to;
        };
        row("Tab passes over the read-only Hours", C{2, 0}, GridMove::Next, C{2, 2});
        row("Tab from the row's end goes to the next day", C{2, 6}, GridMove::Next, C{3, 0});
        row("Shift+Tab from a day's start goes to the previous day's end", C{3, 0},
            GridMove::Previous, C{2, 6});
        row("Shift+Tab does not enter locked days", C{2, 0}, GridMove::Previous, std::nullopt);
        row("Tab passes over the last day's closed cells", C{6, 3}, GridMove::Next, std::nullopt);
        row("Down", C{3, 4}, GridMove::Down, C{4, 4});
        row("Down over a closed cell reaches none", C{5, 5}, GridMove::Down, std::nullopt);
        row("Up stops before locked days", C{2, 3}, GridMove::Up, std::nullopt);
        row("Right passes over Hours", C{4, 0}, GridMove::Right, C{4, 2});
        row("Left passes over Hours", C{4, 2}, GridMove::Left, C{4, 0});
        row("Right at the row's end", C{4, 6}, GridMove::Right, std::nullopt);
    }
    void moves() {
        QFETCH(GridCell, from);
        QFETCH(GridMove, move);
        QFETCH(std::optional<GridCell>, expected);
        const GridKeyNavigation keys(editable);
        QCOMPARE(keys.target(from, move), expected);
    }

    // Left and Right move the text cursor while it has room to go; Alt and Ctrl keys are the
    // window's.
    void keys() {
        using K = GridKeyNavigation;
        QCOMPARE(K::moveFor(Qt::Key_Left, Qt::NoModifier, false, true), std::nullopt);
        QCOMPARE(K::moveFor(Qt::Key_Right, Qt::NoModifier, true, false), std::nullopt);
        QCOMPARE(K::moveFor(Qt::Key_Enter, Qt::KeypadModifier, false, false), GridMove::Down);
        QCOMPARE(K::moveFor(Qt::Key_Left, Qt::AltModifier, true, true), std::nullopt);
        QCOMPARE(K::moveFor(Qt::Key_Down, Qt::ControlModifier, true, true), std::nullopt);
    }
};

VELORA_TEST(TestGridKeyNavigation)
#include "TestGridKeyNavigation.moc"
