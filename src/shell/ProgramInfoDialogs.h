#pragma once

class QWidget;

namespace velora::common {
struct AppContext;
}

namespace velora::shell {

// Help's About and System Information boxes, filled from what the program knows of itself, its
// configuration and the logged-in operator. A database out of reach leaves its facts out; the
// boxes still show.
class ProgramInfoDialogs {
public:
    static void showAbout(common::AppContext& context, QWidget* parent);
    static void showSystemInformation(const common::AppContext& context, QWidget* parent);
};

} // namespace velora::shell
