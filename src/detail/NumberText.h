#pragma once

#include <QString>

namespace velora::detail {

// How the weekly grid writes numbers, in the regional decimal separator:
// - fixed: at least one integer digit and exactly two decimals, no grouping ("1234.50",
//   "0.05", "-0.50"); halves round away from zero on the value's 15-digit decimal form, so
//   1.115 shows "1.12" as the operator reads it, not "1.11" as its binary value would;
// - plain: the shortest decimal form of up to 15 significant digits, without trailing zeros
//   ("7.5", "120", "0.25"), and an exponent ("1E+15", "1E-05") from 1E+15 and below 1E-04
//   values.
// Negative zero shows as zero in both.
class NumberText {
public:
    explicit NumberText(QString decimalSeparator = QStringLiteral("."));

    QString fixed(double value) const;
    QString plain(double value) const;

    // A value rounded to a whole number, halves to the even number (-0.5 gives 0, -1.5 gives -2).
    static double roundHalfEven(double value);

private:
    QString decimalSeparator_;
};

} // namespace velora::detail
