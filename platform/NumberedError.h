#pragma once

#include <QString>
#include <stdexcept>

namespace velora {

// A failure the program reports as it always has: a number, a description and, where it
// matters, the component that raised it ("Error <number>:<description>"). Each part of the
// program throws its own kind, all of them this.
class NumberedError : public std::runtime_error {
public:
    NumberedError(int number, const QString& description, const QString& source = {})
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

} // namespace velora
