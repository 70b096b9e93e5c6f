#include "DemoFormulas.h"

#include <QStringList>
#include <cmath>

namespace velora::admin {

namespace {

constexpr double kOtherAccountsRate = 0.082;
constexpr double kLineRate = 0.085;
constexpr double kHourlyBase = 12.0;

// Formula texts keep the line breaks they would have when typed in the editor.
QString lines(const QStringList& text) {
    return text.join(QStringLiteral("\r\n"));
}

QString number(double value) {
    return QString::number(value, 'g', 10);
}

} // namespace

DemoFormulas::DemoFormulas(const std::vector<int>& accountIds) {
    // The first accounts pay premium rates, in steps; the rest fall under Case Else.
    static constexpr double kRates[] = {0.095, 0.095, 0.09, 0.087, 0.087, 0.087};
    for (std::size_t i = 0; i < accountIds.size() && i < std::size(kRates); ++i)
        accountRates_.emplace_back(accountIds[i], kRates[i]);
}

QString DemoFormulas::nameOf(Kind kind) {
    switch (kind) {
    case LineRate:
        return QStringLiteral("Line Rate");
    case MonthlyTier:
        return QStringLiteral("Monthly Tier");
    case HourlyBonus:
        return QStringLiteral("Hourly Bonus");
    case AccountRates:
        return QStringLiteral("Account Rates");
    case HoursWorked:
        return QStringLiteral("Hours Worked");
    case TypedLines:
        return QStringLiteral("Typed Lines");
    }
    return {};
}

QString DemoFormulas::textOf(Kind kind) const {
    switch (kind) {
    case LineRate:
        return lines({QStringLiteral("' Line rate: a fixed rate for every true line typed"),
                      QStringLiteral("Results.ILines = TrueLines"),
                      QStringLiteral("Results.IHours = Hours"),
                      QStringLiteral("Results.IPay = Round(TrueLines * 0.085, 2)")});
    case MonthlyTier:
        return lines(
            {QStringLiteral("' Monthly tiers: the rate rises with the month's lines "
                            "on all accounts"),
             QStringLiteral("Dim monthLines, rate"),
             QStringLiteral("monthLines = MonthToDate(\"TrueLines\", True)"),
             QStringLiteral("If monthLines > 30000 Then"), QStringLiteral("    rate = 0.092"),
             QStringLiteral("ElseIf monthLines > 18000 Then"), QStringLiteral("    rate = 0.086"),
             QStringLiteral("Else"), QStringLiteral("    rate = 0.08"), QStringLiteral("End If"),
             QStringLiteral("Results.ILines = TrueLines"), QStringLiteral("Results.IHours = Hours"),
             QStringLiteral("Results.IPay = Round(TrueLines * rate, 2)")});
    case HourlyBonus:
        return lines({QStringLiteral("' Hourly pay with a bonus per hour for productive days"),
                      QStringLiteral("Dim bonus"), QStringLiteral("bonus = 0"),
                      QStringLiteral("If Hours > 0 Then"),
                      QStringLiteral("    If TrueLines / Hours >= 200 Then"),
                      QStringLiteral("        bonus = 2.5"),
                      QStringLiteral("    ElseIf TrueLines / Hours >= 160 Then"),
                      QStringLiteral("        bonus = 1.25"), QStringLiteral("    End If"),
                      QStringLiteral("End If"), QStringLiteral("Results.ILines = TrueLines"),
                      QStringLiteral("Results.IHours = Hours"),
                      QStringLiteral("Results.IPay = Round(IHoursWorked * (12 + bonus), 2)")});
    case AccountRates:
        return accountRatesText();
    case HoursWorked:
        return lines({QStringLiteral("' Incentive hours: the day's hours to the quarter hour"),
                      QStringLiteral("Results.IHours = Round(Hours * 4) / 4")});
    case TypedLines:
        return lines({QStringLiteral("' Incentive lines: true lines and ten lines per report "
                                     "for its header"),
                      QStringLiteral("Results.ILines = TrueLines + 10 * Reports")});
    }
    return {};
}

QString DemoFormulas::accountRatesText() const {
    QStringList text{QStringLiteral("' Per-account line rates: some clients pay more"),
                     QStringLiteral("Dim rate"), QStringLiteral("Select Case AccountID")};
    // Accounts of one rate go into one Case: a run of consecutive ids as "a To b", the
    // others as a list.
    std::size_t i = 0;
    while (i < accountRates_.size()) {
        std::size_t end = i;
        while (end + 1 < accountRates_.size() &&
               accountRates_[end + 1].second == accountRates_[i].second)
            ++end;
        QStringList values;
        bool consecutive = end > i + 1;
        for (std::size_t k = i; k < end && consecutive; ++k)
            consecutive = accountRates_[k + 1].first == accountRates_[k].first + 1;
        if (consecutive) {
            values << QString::number(accountRates_[i].first) + QStringLiteral(" To ") +
                          QString::number(accountRates_[end].first);
        } else {
            for (std::size_t k = i; k <= end; ++k)
                values << QString::number(accountRates_[k].first);
        }
        text << QStringLiteral("    Case ") + values.join(QStringLiteral(", "))
             << QStringLiteral("        rate = ") + number(accountRates_[i].second);
        i = end + 1;
    }
    text << QStringLiteral("    Case Else")
         << QStringLiteral("        rate = ") + number(kOtherAccountsRate)
         << QStringLiteral("End Select") << QStringLiteral("Results.ILines = TrueLines")
         << QStringLiteral("Results.IHours = Hours")
         << QStringLiteral("Results.IPay = Round(TrueLines * rate, 2)");
    return lines(text);
}

double DemoFormulas::round(double value, int places) {
    const double scale = std::pow(10.0, places);
    return std::nearbyint(value * scale) / scale;
}

double DemoFormulas::typedLines(const DemoFigures& figures) {
    return figures.lines + 10 * figures.reports;
}

double DemoFormulas::hoursWorked(const DemoFigures& figures) {
    return round(figures.hoursSystem * 4, 0) / 4;
}

double DemoFormulas::accountRate(int accountId) const {
    for (const auto& [id, rate] : accountRates_) {
        if (id == accountId)
            return rate;
    }
    return kOtherAccountsRate;
}

double DemoFormulas::pay(Kind payFormula, const DemoFigures& figures, int accountId,
                         double monthLines) const {
    switch (payFormula) {
    case LineRate:
        return round(figures.lines * kLineRate, 2);
    case MonthlyTier: {
        const double rate = monthLines > 30000 ? 0.092 : monthLines > 18000 ? 0.086 : 0.08;
        return round(figures.lines * rate, 2);
    }
    case HourlyBonus: {
        double bonus = 0;
        if (figures.hoursSystem > 0) {
            const double perHour = figures.lines / figures.hoursSystem;
            bonus = perHour >= 200 ? 2.5 : perHour >= 160 ? 1.25 : 0;
        }
        return round(hoursWorked(figures) * (kHourlyBase + bonus), 2);
    }
    case AccountRates:
        return round(figures.lines * accountRate(accountId), 2);
    case HoursWorked:
    case TypedLines:
        return 0;
    }
    return 0;
}

} // namespace velora::admin
