#pragma once

#include <QString>
#include <stdexcept>

namespace velora::config {

// A value that cannot be read or written in the configuration's own format: a number and a
// description, as every error of the program carries.
class ConfigError : public std::runtime_error {
public:
    static constexpr int kInvalidArgument = 5; // "Invalid procedure call or argument"

    ConfigError(int number, const QString& description)
        : std::runtime_error(description.toStdString())
        , number_(number)
        , description_(description) {}

    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};

} // namespace velora::config
