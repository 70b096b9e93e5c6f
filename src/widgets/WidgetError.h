#pragma once

#include <QString>
#include <stdexcept>

namespace velora::widgets {

// Error numbers of the interface components, as the program shows them.
namespace WidgetErrorNumber {
constexpr int InvalidArgument = 5;        // invalid procedure call or argument
constexpr int SubscriptOutOfRange = 9;    // an index outside the allowed range
constexpr int ResourceNotFound = 326;     // no resource with that identifier
constexpr int InvalidPropertyValue = 380; // a property refused the value
} // namespace WidgetErrorNumber

// A failure of an interface component: number, description and the component that raised it.
class WidgetError : public std::runtime_error {
public:
    WidgetError(int number, const QString& description, const QString& source = {})
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

} // namespace velora::widgets
