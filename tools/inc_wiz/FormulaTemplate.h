#pragma once

#include "SchemeAnswers.h"

#include <QString>
#include <QStringList>

namespace velora::wizard {

// Writes the formula text of a scheme. Every shape sets the incentive lines and hours from the
// measures chosen and the pay rounded to cents; the text is commented so that a supervisor who
// opens it in the formula editor can follow it. Lines end with CR LF, as the formula editor
// keeps them.
class FormulaTemplate {
public:
    static QString generate(const SchemeAnswers& answers);

    // A number in the formula language's plain form: decimal point, no grouping, no exponent,
    // at most six decimals.
    static QString number(double value);

private:
    static void addPay(const SchemeAnswers& answers, QStringList& lines);
    static void addTiers(const SchemeAnswers& answers, QStringList& lines);
    static void addAccountRates(const SchemeAnswers& answers, QStringList& lines);
};

} // namespace velora::wizard
