#pragma once

#include "SchemeValidator.h"

#include <QString>

namespace velora::wizard {

// The answers of a scripted run (/SCRIPT=<file>): what a supervisor would type on each page.
// The format is in WizardCommandLine::usage. Numbers stay text: the pages read them as typed.
struct AnswersScript {
    SchemeInput input;
    LineMeasure lines = LineMeasure::TrueLines;
    HourMeasure hours = HourMeasure::TypedHours;
    QString name;
    bool finish = true;
    // Why the file cannot be used ("" when it can).
    QString problem;

    static AnswersScript read(const QString& path);
    static AnswersScript parse(const QString& text);

private:
    void take(const QString& key, const QString& value, int lineNumber);
    void fail(int lineNumber, const QString& why);
};

} // namespace velora::wizard
