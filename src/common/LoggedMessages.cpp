#include "LoggedMessages.h"

namespace velora::common {

bool LoggedMessages::isError(const QString& text, MessageIcon icon) {
    if (icon == MessageIcon::Critical)
        return true;
    return icon != MessageIcon::Question && ErrorLog::errorNumber(text).has_value();
}

MessageAnswer LoggedMessages::show(const QString& text, const QString& title, MessageIcon icon,
                                   MessageButtons buttons) {
    // Written before the box opens: the box is modal, and the log should hold the error even
    // when the program is ended while the box is on screen.
    if (isError(text, icon))
        log_.append(QDateTime::currentDateTime(), title, text);
    return shown_.show(text, title, icon, buttons);
}

} // namespace velora::common
