#pragma once

#include <QString>
#include <stdexcept>

namespace velora::shell {

namespace ShellErrorNumber {
constexpr int InvalidArgument = 5;                    // invalid procedure call or argument
constexpr int DuplicateKey = 457;                     // key already in a collection
constexpr int ConfigurationFileMissing = -2147211503; // object-error base + 10001
} // namespace ShellErrorNumber

// A failure of the application shell: number, description and the component that raised it,
// reported to the operator as "Error Number:" and "Error Description:".
class ShellError : public std::runtime_error {
public:
    ShellError(int number, const QString& description, const QString& source = {})
        : std::runtime_error(description.toStdString())
        , number_(number)
        , description_(description)
        , source_(source) {}

    int number() const { return number_; }
    const QString& description() const { return description_; }
    const QString& source() const { return source_; }

private:
    int number_;
    QString description_;
    QString source_;
};

} // namespace velora::shell
