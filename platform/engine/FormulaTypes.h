#pragma once

#include <QDate>
#include <QString>

namespace velora::engine {

// A compile or run-time error of a formula: VBScript's error number, the 1-based line and
// column (0 when unknown), the description and the text of that line.
struct FormulaError {
    int number = 0;
    int line = 0;
    int column = 0;
    QString description;
    QString lineText;

    bool isError() const { return number != 0; }
};

// The three results a formula assigns; a result never assigned stays 0.
struct FormulaResults {
    double hours = 0; // Results.IHours
    double lines = 0; // Results.ILines
    double pay = 0;   // Results.IPay
};

// The period functions WeekToDate, MonthToDate and YearToDate.
enum class Period { Week, Month, Year };

// The measures a period function may sum.
enum class Measure { Reports, CharLines, TrueLines, Pages, Hours, IHours, ITyped, IPay };

// The row a formula is evaluated for: one user, account and day (the _modified values; a day
// without a row reads as zeros). Plain values so that evaluation does no lookups.
struct RowInputs {
    double reports = 0;     // number_rpts_modified
    double charLines = 0;   // chars_modified
    double trueLines = 0;   // lines_modified
    double pages = 0;       // pages_modified
    double hoursTyped = 0;  // hours_typed_modified
    double systemHours = 0; // hours_system_modified
    double otherHours = 0;  // hours_other_modified
    int hourMode = 1;       // INCENT_HOUR_TYPE: 1 Hours = systemHours, 2 Hours = hoursTyped
    QDate shiftDate;
    QString transId;
    int accountId = 0;
    int groupId = 0;
    int partitionId = 0;
    // Results of the group's lines-typed and hours-worked formulas for the same row.
    double iTypedLines = 0;
    double iHoursWorked = 0;
};

// Answers the period functions: the sum of a measure over the user's rows for this account
// (or all accounts) from the first day of the period through the row's day.
class PeriodSource {
public:
    virtual ~PeriodSource() = default;
    virtual double periodSum(Period period, Measure measure, bool allAccounts,
                             const RowInputs& row) = 0;
};

} // namespace velora::engine
