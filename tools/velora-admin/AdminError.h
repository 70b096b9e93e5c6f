#pragma once

#include "NumberedError.h"

#include <QString>

namespace velora::admin {

// A failure of the tool outside the database layer (files, folders), with a number and a
// description like every error the suite reports. The numbers are the classic run-time
// error numbers of file access.
class AdminError : public NumberedError {
public:
    enum Number {
        FileNotFound = 53,
        FileAlreadyExists = 58,
        PathFileAccess = 75,
        PathNotFound = 76
    };

    using NumberedError::NumberedError;
};

// The database is open elsewhere (the program, the engine, another tool), so the command
// refused to touch it. main exits with its own status for it.
class DatabaseInUse : public AdminError {
public:
    using AdminError::AdminError;
};

} // namespace velora::admin
