#include "ConsoleMessages.h"

#include <QTextStream>

namespace velora::wizard {

common::MessageAnswer ConsoleMessages::show(const QString& text, const QString& title,
                                            common::MessageIcon, common::MessageButtons buttons) {
    QTextStream(stderr) << title << ": " << text << '\n';
    switch (buttons) {
    case common::MessageButtons::YesNo:
    case common::MessageButtons::YesNoCancel:
        return common::MessageAnswer::Yes;
    default:
        return common::MessageAnswer::Ok;
    }
}

} // namespace velora::wizard
