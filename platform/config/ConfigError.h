#pragma once

#include "NumberedError.h"

#include <QString>

namespace velora::config {

// A value that cannot be read or written in the configuration's own format: a number and a
// description, as every error of the program carries.
class ConfigError : public NumberedError {
public:
    static constexpr int kInvalidArgument = 5; // "Invalid procedure call or argument"

    using NumberedError::NumberedError;
};

} // namespace velora::config
