#include "SchemeShape.h"

namespace velora::wizard {

const QList<ShapeDescription>& SchemeShapes::all() {
    static const QList<ShapeDescription> shapes{
        {SchemeShape::LineRate, QStringLiteral("line-rate"), QStringLiteral("Rate per line"),
         QStringLiteral("Every line typed is paid at one rate."),
         QStringLiteral("1,200 lines at 0.08 pay 96.00.")},
        {SchemeShape::TieredRates, QStringLiteral("tiered"),
         QStringLiteral("Tiered rates per line"),
         QStringLiteral("The day's lines are paid by band: each band of lines at its own rate."),
         QStringLiteral("First 1,000 lines at 0.07, the rest at 0.09: 1,500 lines pay "
                        "70.00 + 45.00 = 115.00.")},
        {SchemeShape::ProductionStandard, QStringLiteral("standard"),
         QStringLiteral("Production standard (lines per hour)"),
         QStringLiteral("Only the lines above the standard for the hours worked are paid."),
         QStringLiteral("Standard 150 lines per hour, 8 hours, 1,500 lines: 300 lines above "
                        "the standard at 0.10 pay 30.00.")},
        {SchemeShape::MonthlyBonus, QStringLiteral("monthly-bonus"),
         QStringLiteral("Bonus past a monthly threshold"),
         QStringLiteral("Every line at a base rate; the month's lines past a threshold earn a "
                        "bonus rate on top."),
         QStringLiteral("Base 0.08, bonus 0.02 past 30,000 lines in the month: a day of 1,000 "
                        "lines that takes the month from 29,600 to 30,600 pays 80.00 + "
                        "12.00 = 92.00.")},
        {SchemeShape::AccountRates, QStringLiteral("account-rates"),
         QStringLiteral("Different rates per client account"),
         QStringLiteral("Lines of chosen client accounts are paid at their own rates, all "
                        "other accounts at a default rate."),
         QStringLiteral("Account A at 0.09, every other account at 0.08: 1,000 lines for "
                        "account A pay 90.00.")},
        {SchemeShape::MinimumGuarantee, QStringLiteral("minimum"),
         QStringLiteral("Minimum guarantee"),
         QStringLiteral("Lines are paid at a rate, but a day never pays less than a guaranteed "
                        "amount per hour worked."),
         QStringLiteral("0.08 per line, at least 10.00 per hour: 8 hours with 900 lines pay "
                        "80.00 instead of 72.00.")},
    };
    return shapes;
}

const ShapeDescription& SchemeShapes::describe(SchemeShape shape) {
    for (const ShapeDescription& description : all())
        if (description.shape == shape)
            return description;
    return all().front();
}

bool SchemeShapes::fromKey(const QString& text, SchemeShape& shape) {
    for (const ShapeDescription& description : all())
        if (description.key.compare(text.trimmed(), Qt::CaseInsensitive) == 0) {
            shape = description.shape;
            return true;
        }
    return false;
}

} // namespace velora::wizard
