#include "PeriodTotals.h"

#include "DetailContext.h"
#include "NumberText.h"
#include "PeriodTotalStatements.h"
#include "UserDetailPane.h"
#include "common/Messages.h"
#include "db/Connection.h"
#include "suite/HXRegion.h"

#include <QLabel>
#include <QLineEdit>

namespace velora::detail {

namespace {

struct PeriodRow {
    TotalPeriod period;
    int row;
};

constexpr PeriodRow kPeriods[] = {{TotalPeriod::Week, kWeekTotalRow},
                                  {TotalPeriod::BiWeek, kBiWeekTotalRow},
                                  {TotalPeriod::Month, kMonthTotalRow},
                                  {TotalPeriod::Year, kYearTotalRow}};

} // namespace

PeriodTotals::PeriodTotals(DetailContext& context)
    : context_(context) {}

void PeriodTotals::write(const QString& transID, const QString& accountID, const QDate& start) {
    const NumberText numbers(context_.region.DecimalSep());
    const int hourMode = context_.hourMode();
    for (const PeriodRow& p : kPeriods) {
        context_.pane.totalLabel(p.row)->setText(
            PeriodTotalStatements::label(p.period, start, context_.region.locale()));
        writePeriod(p.row,
                    PeriodTotalStatements::statement(p.period, transID, accountID, start, hourMode),
                    numbers);
    }
}

void PeriodTotals::writePeriod(int row, const QString& statement, const NumberText& numbers) {
    if (statement.isEmpty()) {
        ClearGridRow(row);
        return;
    }
    db::Recordset totals = context_.connection.openRecordset(statement);
    if (totals.eof()) {
        ClearGridRow(row);
        return;
    }
    UserDetailPane& pane = context_.pane;
    // A period without rows sums to NULL: counts show "0", pay "0.00".
    const auto plainOrZero = [&](const char* column) -> QString {
        const QString name = QString::fromLatin1(column);
        return totals.isNull(name) ? QStringLiteral("0")
                                   : numbers.plain(totals.value(name).toDouble());
    };
    const auto fixedOrZero = [&](const char* column) -> QString {
        const QString name = QString::fromLatin1(column);
        return totals.isNull(name) ? QStringLiteral("0")
                                   : numbers.fixed(totals.value(name).toDouble());
    };
    pane.cell(ValueKind::Hours, row)->setText(plainOrZero("TOTAL_HOURS"));
    pane.cell(ValueKind::IHours, row)->setText(fixedOrZero("TOTAL_IHOURS_TYPED"));
    pane.cell(ValueKind::ITyped, row)->setText(fixedOrZero("TOTAL_ITYPED"));
    pane.cell(ValueKind::CharLines, row)->setText(plainOrZero("TOTAL_CHARS"));
    pane.cell(ValueKind::TrueLines, row)->setText(plainOrZero("TOTAL_LINES"));
    pane.cell(ValueKind::Reports, row)->setText(plainOrZero("TOTAL_REPORTS"));

    // A pay total that rounds (halves to even) below zero is shown as no pay: -0.50 stays, -0.51
    // shows 0.00.
    const QString zeroPay = numbers.fixed(0);
    QString pay = zeroPay;
    if (!totals.isNull(QStringLiteral("TOTAL_IPAY"))) {
        const double value = totals.value(QStringLiteral("TOTAL_IPAY")).toDouble();
        pay = NumberText::roundHalfEven(value) < 0 ? zeroPay : numbers.fixed(value);
    }
    pane.cell(ValueKind::IPay, row)->setText(pay);
}

void PeriodTotals::ClearGridRow(int row) {
    if (row < 0 || row >= kGridRows) {
        context_.messages.inform(QStringLiteral("Error cannot fill zero values for line ") +
                                     QString::number(row),
                                 common::MessageIcon::Critical);
        return;
    }
    const QString zeroFixed = NumberText(context_.region.DecimalSep()).fixed(0);
    UserDetailPane& pane = context_.pane;
    for (ValueKind kind :
         {ValueKind::Hours, ValueKind::CharLines, ValueKind::TrueLines, ValueKind::Reports})
        pane.cell(kind, row)->setText(QStringLiteral("0"));
    for (ValueKind kind : {ValueKind::IHours, ValueKind::ITyped, ValueKind::IPay})
        pane.cell(kind, row)->setText(zeroFixed);
}

} // namespace velora::detail
