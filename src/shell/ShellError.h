#pragma once

#include "NumberedError.h"

#include <QString>

namespace velora::shell {

namespace ShellErrorNumber {
constexpr int InvalidArgument = 5;                    // invalid procedure call or argument
constexpr int DuplicateKey = 457;                     // key already in a collection
constexpr int ConfigurationFileMissing = -2147211503; // object-error base + 10001
constexpr int ConfigurationIncomplete = -2147211502;  // object-error base + 10002
} // namespace ShellErrorNumber

// A failure of the application shell: number, description and the component that raised it,
// reported to the operator as "Error Number:" and "Error Description:".
class ShellError : public NumberedError {
public:
    using NumberedError::NumberedError;
};

} // namespace velora::shell
