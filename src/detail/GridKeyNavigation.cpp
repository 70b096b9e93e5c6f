#include "GridKeyNavigation.h"

namespace velora::detail {

namespace {

constexpr int kCells = GridKeyNavigation::kRows * GridKeyNavigation::kColumns;

int orderIndex(const GridCell& cell) {
    return cell.row * GridKeyNavigation::kColumns + cell.column;
}

GridCell cellAt(int index) {
    return {index / GridKeyNavigation::kColumns, index % GridKeyNavigation::kColumns};
}

bool inside(const GridCell& cell) {
    return cell.row >= 0 && cell.row < GridKeyNavigation::kRows && cell.column >= 0 &&
           cell.column < GridKeyNavigation::kColumns;
}

} // namespace

GridKeyNavigation::GridKeyNavigation(Editable editable)
    : editable_(std::move(editable)) {}

std::optional<GridMove> GridKeyNavigation::moveFor(int key, Qt::KeyboardModifiers modifiers,
                                                   bool cursorAtStart, bool cursorAtEnd) {
    // The keypad's arrows and Enter count as the main keys.
    const Qt::KeyboardModifiers others = modifiers & ~Qt::KeypadModifier;
    if (key == Qt::Key_Backtab || (key == Qt::Key_Tab && others == Qt::ShiftModifier))
        return GridMove::Previous;
    if (others != Qt::NoModifier)
        return std::nullopt;
    switch (key) {
    case Qt::Key_Tab:
        return GridMove::Next;
    case Qt::Key_Up:
        return GridMove::Up;
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return GridMove::Down;
    case Qt::Key_Left:
        return cursorAtStart ? std::optional(GridMove::Left) : std::nullopt;
    case Qt::Key_Right:
        return cursorAtEnd ? std::optional(GridMove::Right) : std::nullopt;
    default:
        return std::nullopt;
    }
}

std::optional<GridCell> GridKeyNavigation::target(const GridCell& from, GridMove move) const {
    switch (move) {
    case GridMove::Next:
        return walkInOrder(orderIndex(from), 1);
    case GridMove::Previous:
        return walkInOrder(orderIndex(from), -1);
    case GridMove::Up:
        return walk(from, -1, 0);
    case GridMove::Down:
        return walk(from, 1, 0);
    case GridMove::Left:
        return walk(from, 0, -1);
    case GridMove::Right:
        return walk(from, 0, 1);
    }
    return std::nullopt;
}

std::optional<GridCell> GridKeyNavigation::walk(const GridCell& from, int rowStep,
                                                int columnStep) const {
    for (GridCell cell{from.row + rowStep, from.column + columnStep}; inside(cell);
         cell = {cell.row + rowStep, cell.column + columnStep}) {
        if (editable_(cell))
            return cell;
    }
    return std::nullopt;
}

std::optional<GridCell> GridKeyNavigation::walkInOrder(int fromIndex, int step) const {
    for (int index = fromIndex + step; index >= 0 && index < kCells; index += step) {
        if (editable_(cellAt(index)))
            return cellAt(index);
    }
    return std::nullopt;
}

} // namespace velora::detail
