#pragma once

#include "NumberedError.h"

#include <QString>

namespace velora::db {

// Error numbers as the program shows them ("Error <number>:<description>"). They follow the
// provider's HRESULT values so that a message reads the same whichever engine raised it.
namespace ErrorNumber {
constexpr int General = -2147467259;            // 0x80004005: unspecified failure
constexpr int CommandError = -2147217900;       // 0x80040E14: syntax error or unknown object
constexpr int IntegrityViolation = -2147217873; // 0x80040E2F: constraint violated
constexpr int ConnectionFailed = -2147467259;   // the provider reports failed opens as E_FAIL
constexpr int ConnectionClosed = 3704;          // operation not allowed when the object is closed
constexpr int DataConversion = -2147217913;     // 0x80040E07: a literal could not be converted
constexpr int Busy = -2147217871;               // 0x80040E31: timeout expired (database locked)
constexpr int NoCurrentRecord = 3021;           // either BOF or EOF is true
constexpr int ItemNotFound = 3265;              // item cannot be found in the collection
} // namespace ErrorNumber

// Every failure of the database layer: a number and a description, never a crash.
class DbError : public NumberedError {
public:
    using NumberedError::NumberedError;
};

} // namespace velora::db
