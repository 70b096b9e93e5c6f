#pragma once

#include <QString>

namespace velora::common {

enum class MessageIcon { None, Information, Warning, Critical, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, AbortRetryIgnore };
enum class MessageAnswer { Ok, Cancel, Yes, No, Abort, Retry, Ignore };

// Every message box, question and notice of the program goes through this interface, so that
// tests can answer them. The texts are the program's own, shown as they stand.
class Messages {
public:
    virtual ~Messages() = default;
    virtual MessageAnswer show(const QString& text, const QString& title, MessageIcon icon,
                               MessageButtons buttons) = 0;

    // The program's usual forms: a notice with OK, and a Yes/No question.
    void inform(const QString& text, MessageIcon icon = MessageIcon::Information,
                const QString& title = kTitle) {
        show(text, title, icon, MessageButtons::Ok);
    }
    bool ask(const QString& text, const QString& title = kTitle) {
        return show(text, title, MessageIcon::Question, MessageButtons::YesNo) ==
               MessageAnswer::Yes;
    }

    static inline const QString kTitle = QStringLiteral("Velora Incentive");
};

} // namespace velora::common
