#pragma once

#include "NumberedError.h"

#include <QString>

namespace velora::suite {

// Error numbers of the suite's components. They follow the classic run-time error numbers, so
// a message reads like any other "Error <number>:<description>" of the program.
namespace SuiteErrorNumber {
constexpr int InvalidArgument = 5; // invalid procedure call or argument
constexpr int OutOfMemory = 7;
constexpr int TypeMismatch = 13; // a text that is not a number or a date
} // namespace SuiteErrorNumber

// A failure of a suite component outside the database layer: a number and a description.
class SuiteError : public NumberedError {
public:
    using NumberedError::NumberedError;
};

} // namespace velora::suite
