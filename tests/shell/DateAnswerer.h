#pragma once

#include "groups/PromptDialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

namespace velora::test {

// Answers the effective-date dialog from inside its modal loop.
class DateAnswerer {
public:
    explicit DateAnswerer(const QString& date) {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this, date] {
            auto* dialog = qobject_cast<groups::PromptDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            prompts << dialog->lblPrompt()->text();
            dialog->entryField()->setText(date);
            dialog->cmdOK()->click();
        });
        timer_.start();
    }

    QStringList prompts;

private:
    QTimer timer_;
};

} // namespace velora::test
