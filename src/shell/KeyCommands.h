#pragma once

#include "common/DetailArea.h"

#include <QKeySequence>
#include <QString>

namespace velora::shell {

// The main window's keys and what each does on which pane:
//   F1          the help page of the pane on screen (every pane)
//   Ctrl+S      Save Changes of the weekly grid or of the formula pane
//   Ctrl+P      Print of the weekly grid
//   Alt+Left    previous week, Alt+Right next week (weekly grid; Page Up and Page Down in
//               the grid's cells do the same)
//   F5          refresh the explorer from the database (every pane)
// The panes that hold no such control leave the key without effect.
class KeyCommands {
public:
    enum class Command { Help, Save, Print, PreviousWeek, NextWeek, RefreshExplorer };
    using Pane = common::DetailArea::Pane;

    static QKeySequence keys(Command command);
    static bool availableOn(Command command, Pane pane);
    // The help page of the pane, beside the help's index page ("" for the index itself).
    static QString helpTopic(Pane pane);
};

} // namespace velora::shell
