#pragma once

class QWidget;

namespace velora::shell {

// Text boxes show no platform context menu on right click. A box whose pane offers a menu of
// its own (the weekly grid's cells with Revert Changes) keeps it.
class TextBoxMenus {
public:
    // Every text box below root, as the panes are built at that moment.
    static void suppress(QWidget& root);
};

} // namespace velora::shell
