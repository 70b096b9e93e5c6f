#pragma once

#include "NumberedError.h"

#include <QString>

namespace velora::explorer {

// Error numbers the explorer reports through its error event. The two tree numbers are the
// ones a tree control has always given for a duplicate key and a missing node, so messages
// read as operators know them.
namespace ExplorerErrorNumber {
constexpr int Overflow = 6;            // a number does not fit a 16-bit integer
constexpr int TypeMismatch = 13;       // an account id that is not a number
constexpr int Internal = 51;           // a failure that is none of the others
constexpr int ObjectNotSet = 91;       // no list view or no node where one is needed
constexpr int ElementNotFound = 35601; // no node under that key
constexpr int KeyNotUnique = 35602;    // a node with that key exists already
} // namespace ExplorerErrorNumber

// A failure inside the explorer: a number and a description, reported as an error event.
class ExplorerError : public NumberedError {
public:
    using NumberedError::NumberedError;

    static ExplorerError keyNotUnique(const QString& key) {
        return ExplorerError(ExplorerErrorNumber::KeyNotUnique,
                             QStringLiteral("Key is not unique in collection: ") + key);
    }
    static ExplorerError elementNotFound(const QString& key) {
        return ExplorerError(ExplorerErrorNumber::ElementNotFound,
                             QStringLiteral("Element not found: ") + key);
    }
};

} // namespace velora::explorer
