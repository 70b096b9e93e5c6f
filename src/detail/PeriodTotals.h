#pragma once

#include <QDate>
#include <QString>

namespace velora::detail {

struct DetailContext;
class NumberText;

// Writes the four totals rows under the week (week, bi-week, month and year of the week's first
// day) from the stored values: each row's label, then its cells from its statement. Database
// failures propagate to the load that called it.
class PeriodTotals {
public:
    explicit PeriodTotals(DetailContext& context);

    void write(const QString& transID, const QString& accountID, const QDate& start);

    // "0" in Reports, Hours, Char Lines and True Lines and "0.00" in IHours, ITyped and IPay of
    // one grid row (0..10). Reports its own failure.
    void ClearGridRow(int row);

private:
    void writePeriod(int row, const QString& statement, const NumberText& numbers);

    DetailContext& context_;
};

} // namespace velora::detail
