#pragma once

#include "SchemeShape.h"

#include <QList>
#include <QString>

namespace velora::wizard {

// Which production figure counts as the incentive lines.
enum class LineMeasure { TrueLines, CharLines };
// Which hours count as the incentive hours.
enum class HourMeasure { TypedHours, SystemHours };

// A band of a tiered scheme: the lines of the day up to upTo (after the previous band) at rate.
// The last band has no upper limit.
struct LineBand {
    double upTo = 0;
    double rate = 0;
};

// A client account with its own rate.
struct AccountRate {
    int accountId = 0;
    QString accountName;
    double rate = 0;
};

// Everything the pages ask for; what the formula generator turns into formula text. Rates are
// money per line, the standard is lines per hour, the guarantee money per hour.
struct SchemeAnswers {
    SchemeShape shape = SchemeShape::LineRate;
    // The rate of every line (line rate, bonus base), of the lines above the standard, of the
    // accounts without their own rate, or of the lines before the guarantee.
    double rate = 0;
    QList<LineBand> bands;   // tiered: every band but the last
    double lastBandRate = 0; // tiered: the lines past the last band's limit
    double standard = 0;     // production standard: lines per hour
    double threshold = 0;    // monthly bonus: the month's lines past which the bonus is paid
    double bonusRate = 0;    // monthly bonus: paid on top of the rate past the threshold
    QList<AccountRate> accountRates;
    double minimumPerHour = 0; // minimum guarantee
    LineMeasure lines = LineMeasure::TrueLines;
    HourMeasure hours = HourMeasure::TypedHours;
};

} // namespace velora::wizard
