#pragma once

#include "SchemeAnswers.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace velora::suite {
class HXRegion;
}

namespace velora::wizard {

// The numbers of a scheme as typed, in the regional form. Only the fields of the chosen shape
// are read.
struct SchemeInput {
    SchemeShape shape = SchemeShape::LineRate;
    QString rate;
    QStringList bandLimits; // tiered: the upper limit of every band but the last
    QStringList bandRates;  // tiered: one rate per limit
    QString lastBandRate;
    QString standard;
    QString threshold;
    QString bonusRate;
    QString minimumPerHour;
    QList<AccountRate> accounts; // account rates: id and name; the rate typed is in accountRates
    QStringList accountRates;
};

// A refused field: its name (the page's field names: "rate", "bandLimit_0", "bandRate_0",
// "lastBandRate", "standard", "threshold", "bonusRate", "minimumPerHour", "accountRate_0",
// "accounts") and the reason shown next to it.
struct FieldProblem {
    QString field;
    QString reason;
};

// Reads the typed numbers of a scheme. A rate per line lies between 0 and 10 (more is a slip
// of the decimal point, not a pay scheme); an amount per hour may be 0 but not negative; a
// limit, a standard and a threshold must be above 0; band limits must rise from band to band.
// Numbers carry at most six decimals (the formula is written with six).
class SchemeValidator {
public:
    explicit SchemeValidator(const suite::HXRegion& region)
        : region_(region) {}

    // The problems of the input (empty when it is right); answers receives the numbers read.
    QList<FieldProblem> read(const SchemeInput& input, SchemeAnswers& answers) const;

    // The reason a single field is refused ("" when it reads); value receives the number.
    QString readRate(const QString& text, double& value) const;
    QString readPositive(const QString& text, double& value) const;
    QString readAmount(const QString& text, double& value) const;

    static constexpr int kMaxDecimals = 6;
    static constexpr int kMaxBands = 4;
    static constexpr double kMaxRate = 10;

private:
    QString readNumber(const QString& text, double& value) const;
    void readTiers(const SchemeInput& input, SchemeAnswers& answers,
                   QList<FieldProblem>& problems) const;
    void readAccounts(const SchemeInput& input, SchemeAnswers& answers,
                      QList<FieldProblem>& problems) const;
    void check(const QString& field, const QString& reason, QList<FieldProblem>& problems) const;

    const suite::HXRegion& region_;
};

} // namespace velora::wizard
