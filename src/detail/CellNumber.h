#pragma once

#include <QString>

namespace velora::suite {
class HXRegion;
}

namespace velora::detail {

// How the weekly grid reads a number typed into a cell: the regional form with the regional
// decimal separator and no digit grouping. A grouping separator is refused rather than read,
// because the same text means two different numbers in two regions ("69.530" is 69.53 typed
// the American way and 69530 the German way), and a misread correction pays the wrong amount.
class CellNumber {
public:
    // The plain form for a statement ("1234.5"). Throws SuiteError (TypeMismatch) with a
    // sentence that names the decimal separator when the text is not such a number.
    static QString toPlain(const QString& text, const suite::HXRegion& region);
    // The value as the week buffer keeps it, single precision.
    static float value(const QString& text, const suite::HXRegion& region);
};

} // namespace velora::detail
