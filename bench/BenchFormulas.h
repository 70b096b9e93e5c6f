#pragma once

#include <QString>
#include <cmath>

// The formula the benchmarks time: a tiered line rate with a productivity bonus, as a
// supervisor would write it, and the same computation written by hand in C++.
namespace velora::bench {

inline const QString kTieredPayFormula =
    QStringLiteral("' Tiered line rate with a productivity bonus\r\n"
                   "Dim rate, bonus\r\n"
                   "If TrueLines > 2000 Then\r\n"
                   "    rate = 0.095\r\n"
                   "ElseIf TrueLines > 1500 Then\r\n"
                   "    rate = 0.09\r\n"
                   "ElseIf TrueLines > 1000 Then\r\n"
                   "    rate = 0.085\r\n"
                   "Else\r\n"
                   "    rate = 0.08\r\n"
                   "End If\r\n"
                   "bonus = 0\r\n"
                   "If Hours > 0 And TrueLines / Hours >= 180 Then bonus = 5\r\n"
                   "Results.ILines = TrueLines\r\n"
                   "Results.IHours = Hours\r\n"
                   "Results.IPay = Round(TrueLines * rate, 2) + bonus\r\n");

// VBScript's Round(x, 2): halves to even.
inline double roundHalfEven2(double x) {
    const double scaled = x * 100.0;
    double rounded = std::nearbyint(scaled); // default rounding mode: to nearest, ties to even
    return rounded / 100.0;
}

struct NativeResults {
    double lines;
    double hours;
    double pay;
};

inline NativeResults nativeTieredPay(double trueLines, double hours) {
    double rate;
    if (trueLines > 2000)
        rate = 0.095;
    else if (trueLines > 1500)
        rate = 0.09;
    else if (trueLines > 1000)
        rate = 0.085;
    else
        rate = 0.08;
    double bonus = 0;
    if (hours > 0 && trueLines / hours >= 180)
        bonus = 5;
    return {trueLines, hours, roundHalfEven2(trueLines * rate) + bonus};
}

// The same pay in muparser's syntax (L = true lines, H = hours).
inline const char* kMuparserPay =
    "rint(L * (L > 2000 ? 0.095 : (L > 1500 ? 0.09 : (L > 1000 ? 0.085 : 0.08))) * 100) / 100"
    " + ((H > 0 && L / H >= 180) ? 5 : 0)";

} // namespace velora::bench
