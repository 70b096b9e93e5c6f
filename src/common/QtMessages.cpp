#include "QtMessages.h"

#include <QMessageBox>

namespace velora::common {

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQtButtons(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MessageButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

MessageAnswer fromQt(int button) {
    switch (button) {
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Abort:
        return MessageAnswer::Abort;
    case QMessageBox::Retry:
        return MessageAnswer::Retry;
    case QMessageBox::Ignore:
        return MessageAnswer::Ignore;
    default:
        return MessageAnswer::Ok;
    }
}

} // namespace

MessageAnswer QtMessages::show(const QString& text, const QString& title, MessageIcon icon,
                               MessageButtons buttons) {
    QMessageBox box(toQtIcon(icon), title, text, toQtButtons(buttons), parent_);
    box.setObjectName(QStringLiteral("messageBox"));
    return fromQt(box.exec());
}

} // namespace velora::common
