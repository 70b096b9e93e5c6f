#pragma once

#include <QString>
#include <QtGlobal>

namespace velora::explorer {

// The two ways the explorer reads a number out of an id text.
class ExplorerNumbers {
public:
    // An account id as a 16-bit integer: blanks around it allowed, fractions rounded half to
    // even. Throws ExplorerError 13 when the text is not a number and 6 when it is too big.
    static qint16 AccountNumber(const QString& id);

    // The number a text begins with, 0 when it begins with none ("7abc" is 7, "abc" is 0):
    // used where an id is only compared with a value and a non-number simply matches nothing.
    static double LeadingValue(const QString& text);
};

} // namespace velora::explorer
