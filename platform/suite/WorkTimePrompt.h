#pragma once

#include "WorkTimeEditor.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace velora::suite {

// What the work-time dialog shows: the user's day, its activity rows and the current system
// time, and whether the total may be changed.
struct WorkTimeRequest {
    QString transID;
    QDate day;
    QString dateText; // the day as the caller wrote it
    std::vector<WorkTimeActivity> activities;
    int systemSeconds = 0;
    bool editable = true;
    QLocale locale;
};

// Asks for the day's new total of system time; the answer is in seconds, no value means the
// operator cancelled. The real prompt runs WorkTimeDialog modally; tests answer at once.
using WorkTimePrompt = std::function<std::optional<int>(const WorkTimeRequest&)>;

} // namespace velora::suite
