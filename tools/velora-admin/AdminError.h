#pragma once

#include <QString>
#include <stdexcept>

namespace velora::admin {

// A failure of the tool outside the database layer (files, folders), with a number and a
// description like every error the suite reports. The numbers are the classic run-time
// error numbers of file access.
class AdminError : public std::runtime_error {
public:
    enum Number {
        FileNotFound = 53,
        FileAlreadyExists = 58,
        PathFileAccess = 75,
        PathNotFound = 76
    };

    AdminError(int number, const QString& description)
        : std::runtime_error(description.toStdString())
        , number_(number)
        , description_(description) {}

    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};

} // namespace velora::admin
