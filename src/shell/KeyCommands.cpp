#include "KeyCommands.h"

namespace velora::shell {

QKeySequence KeyCommands::keys(Command command) {
    switch (command) {
    case Command::Help:
        return QKeySequence(Qt::Key_F1);
    case Command::Save:
        return QKeySequence(Qt::CTRL | Qt::Key_S);
    case Command::Print:
        return QKeySequence(Qt::CTRL | Qt::Key_P);
    case Command::PreviousWeek:
        return QKeySequence(Qt::ALT | Qt::Key_Left);
    case Command::NextWeek:
        return QKeySequence(Qt::ALT | Qt::Key_Right);
    case Command::RefreshExplorer:
        return QKeySequence(Qt::Key_F5);
    }
    return {};
}

bool KeyCommands::availableOn(Command command, Pane pane) {
    switch (command) {
    case Command::Help:
    case Command::RefreshExplorer:
        return true;
    case Command::Save:
        return pane == Pane::UserDetail || pane == Pane::Formula;
    case Command::Print:
    case Command::PreviousWeek:
    case Command::NextWeek:
        return pane == Pane::UserDetail;
    }
    return false;
}

QString KeyCommands::helpTopic(Pane pane) {
    switch (pane) {
    case Pane::Splash:
        return QString();
    case Pane::ListView:
        return QStringLiteral("explorer.html");
    case Pane::UserHeader:
        return QStringLiteral("user.html");
    case Pane::UserDetail:
        return QStringLiteral("week.html");
    case Pane::Account:
        return QStringLiteral("group-account.html");
    case Pane::Formula:
        return QStringLiteral("formula.html");
    }
    return QString();
}

} // namespace velora::shell
