#pragma once

#include "shell/Messages.h"

#include <QList>
#include <deque>

namespace velora::test {

// Answers message boxes from a queue the test fills, and records every message shown. A box
// with no queued answer gets the first button's answer (OK, Yes or Abort).
class ScriptedMessages final : public shell::Messages {
public:
    struct Shown {
        QString text;
        QString title;
        shell::MessageIcon icon;
        shell::MessageButtons buttons;
    };

    void queue(shell::MessageAnswer answer) { answers_.push_back(answer); }

    shell::MessageAnswer show(const QString& text, const QString& title, shell::MessageIcon icon,
                              shell::MessageButtons buttons) override {
        shown.append({text, title, icon, buttons});
        if (!answers_.empty()) {
            const shell::MessageAnswer answer = answers_.front();
            answers_.pop_front();
            return answer;
        }
        switch (buttons) {
        case shell::MessageButtons::YesNo:
        case shell::MessageButtons::YesNoCancel:
            return shell::MessageAnswer::Yes;
        case shell::MessageButtons::AbortRetryIgnore:
            return shell::MessageAnswer::Abort;
        default:
            return shell::MessageAnswer::Ok;
        }
    }

    QList<Shown> shown;

private:
    std::deque<shell::MessageAnswer> answers_;
};

} // namespace velora::test
