#pragma once

#include "NumberedError.h"

#include <QString>
#include <QtGlobal>

namespace velora::common {

// The numbers and descriptions of the conversion errors, as the operator has always seen them.
namespace ConversionErrorNumber {
constexpr int Overflow = 6;
constexpr int TypeMismatch = 13;
} // namespace ConversionErrorNumber

// A stored text that cannot become its field's type.
class ConversionError : public NumberedError {
public:
    using NumberedError::NumberedError;
};

// Conversions of stored preference texts to their field types. Numbers are read in plain
// decimal form with a "." decimal point and an optional exponent, blanks around them ignored;
// fractions round half to even. A text that is not a number fails with ConversionError
// TypeMismatch ("Type mismatch"), a number beyond the field's range with Overflow ("Overflow").

// A 16-bit integer (-32768 to 32767).
qint16 textToInteger(const QString& text);
// A byte (0 to 255), converted through the 16-bit integer conversion first.
quint8 textToByte(const QString& text);
// "True" or "False" in any letter case, or a number: 0 is false, anything else true.
bool textToBoolean(const QString& text);

// A single-precision number as text: up to seven significant digits, no decimals for a whole
// number ("9540"), an exponent as "E+07" for very large or small values.
QString singleToText(float value);

} // namespace velora::common
