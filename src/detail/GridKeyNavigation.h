#pragma once

#include <Qt>
#include <functional>
#include <optional>

namespace velora::detail {

// Where a cell of the weekly grid is: row 0..6 the days, column 0..6 the value columns from
// left to right.
struct GridCell {
    int row = 0;
    int column = 0;
    friend bool operator==(const GridCell&, const GridCell&) = default;
};

enum class GridMove { Next, Previous, Up, Down, Left, Right };

// The keyboard in the weekly grid. Tab and Shift+Tab walk a day's row from left to right and
// then go on with the next day (or back to the previous one); the arrow keys go to the
// neighbouring cell; Enter goes down. Every move lands on a cell that can be edited: read-only
// cells (the activity-log hours) and disabled ones (locked days, cells the operator has no
// right to) are passed over. A Tab past the last editable cell leaves the grid.
class GridKeyNavigation {
public:
    static constexpr int kRows = 7;
    static constexpr int kColumns = 7;

    using Editable = std::function<bool(const GridCell&)>;

    explicit GridKeyNavigation(Editable editable);

    // The move a key asks for. Left and Right move between cells only when the text cursor is
    // at that end of the text (or the whole text is selected, as after the cell got the focus),
    // so that they still move the cursor inside a value being typed. None: the key stays with
    // the cell.
    static std::optional<GridMove> moveFor(int key, Qt::KeyboardModifiers modifiers,
                                           bool cursorAtStart, bool cursorAtEnd);

    // The editable cell a move reaches, or none: Next and Previous then leave the grid, the
    // other moves stay where they are.
    std::optional<GridCell> target(const GridCell& from, GridMove move) const;

private:
    std::optional<GridCell> walk(const GridCell& from, int rowStep, int columnStep) const;
    std::optional<GridCell> walkInOrder(int fromIndex, int step) const;

    Editable editable_;
};

} // namespace velora::detail
