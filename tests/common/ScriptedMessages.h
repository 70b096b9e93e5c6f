#pragma once

#include "common/Messages.h"

#include <QList>
#include <deque>

namespace velora::test {

// Answers message boxes from a queue the test fills, and records every message shown. A box
// with no queued answer gets the first button's answer (OK, Yes or Abort).
class ScriptedMessages final : public common::Messages {
public:
    struct Shown {
        QString text;
        QString title;
        common::MessageIcon icon;
        common::MessageButtons buttons;
    };

    void queue(common::MessageAnswer answer) { answers_.push_back(answer); }

    common::MessageAnswer show(const QString& text, const QString& title, common::MessageIcon icon,
                               common::MessageButtons buttons) override {
        shown.append({text, title, icon, buttons});
        if (!answers_.empty()) {
            const common::MessageAnswer answer = answers_.front();
            answers_.pop_front();
            return answer;
        }
        switch (buttons) {
        case common::MessageButtons::YesNo:
        case common::MessageButtons::YesNoCancel:
            return common::MessageAnswer::Yes;
        case common::MessageButtons::AbortRetryIgnore:
            return common::MessageAnswer::Abort;
        default:
            return common::MessageAnswer::Ok;
        }
    }

    QList<Shown> shown;

private:
    std::deque<common::MessageAnswer> answers_;
};

} // namespace velora::test
