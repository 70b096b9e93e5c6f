#pragma once

#include <QList>
#include <QString>

namespace velora::wizard {

// The pay schemes the wizard can write. Most transcription incentive schemes are one of these.
enum class SchemeShape {
    LineRate,           // one rate for every line
    TieredRates,        // lines of the day paid by band, each band at its own rate
    ProductionStandard, // lines above a standard of lines per hour are paid
    MonthlyBonus,       // a base rate, and a bonus rate for the month's lines past a threshold
    AccountRates,       // a rate per client account, a default rate for the others
    MinimumGuarantee,   // a rate per line, but never less than a pay per hour worked
};

// What the shape page shows for a shape, and the key that names it in an answers file.
struct ShapeDescription {
    SchemeShape shape;
    QString key;
    QString title;
    QString explanation;
    QString example;
};

class SchemeShapes {
public:
    static const QList<ShapeDescription>& all();
    static const ShapeDescription& describe(SchemeShape shape);
    // The shape whose key equals text (without regard to case); false when none does.
    static bool fromKey(const QString& text, SchemeShape& shape);
};

} // namespace velora::wizard
