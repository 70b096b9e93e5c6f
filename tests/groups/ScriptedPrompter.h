#pragma once

#include "groups/PromptForValue.h"

#include <QList>
#include <deque>

namespace velora::test {

// Answers prompts from a queue the test fills and records every prompt. A prompt with nothing
// queued is cancelled.
class ScriptedPrompter final : public groups::ValuePrompter {
public:
    struct Asked {
        QString prompt;
        QString title;
        QString defaultValue;
        bool dateMode;
    };

    void queue(int unloadType, const QString& text = {}) { answers_.push_back({unloadType, text}); }
    void queueOk(const QString& text) { queue(groups::UnloadCode::OK, text); }

    groups::PromptResult PromptForValue(const QString& prompt, const QString& title,
                                        const QString& defaultValue, bool dateMode) override {
        asked.append({prompt, title, defaultValue, dateMode});
        if (answers_.empty())
            return {groups::UnloadCode::Cancel, {}};
        const groups::PromptResult answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    QList<Asked> asked;

private:
    std::deque<groups::PromptResult> answers_;
};

} // namespace velora::test
