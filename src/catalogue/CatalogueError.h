#pragma once

#include "NumberedError.h"

#include <QString>

namespace velora::catalogue {

// Error numbers of the keyed collections and record conversions, as the program shows them.
namespace CatalogueErrorNumber {
constexpr int Overflow = 6;            // a number does not fit the field
constexpr int SubscriptOutOfRange = 9; // no item at that position
constexpr int TypeMismatch = 13;       // a value that is not a number where one is needed
constexpr int InvalidArgument = 5;     // no item under that key
constexpr int InvalidUseOfNull = 94;   // a NULL where a number is needed
constexpr int DuplicateKey = 457;      // the key is already taken
} // namespace CatalogueErrorNumber

// A failure of the catalogue's collections or records: a number and a description.
class CatalogueError : public NumberedError {
public:
    using NumberedError::NumberedError;
};

} // namespace velora::catalogue
