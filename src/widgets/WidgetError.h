#pragma once

#include "NumberedError.h"

#include <QString>

namespace velora::widgets {

// Error numbers of the interface components, as the program shows them.
namespace WidgetErrorNumber {
constexpr int InvalidArgument = 5;        // invalid procedure call or argument
constexpr int SubscriptOutOfRange = 9;    // an index outside the allowed range
constexpr int ResourceNotFound = 326;     // no resource with that identifier
constexpr int InvalidPropertyValue = 380; // a property refused the value
} // namespace WidgetErrorNumber

// A failure of an interface component: number, description and the component that raised it.
class WidgetError : public NumberedError {
public:
    using NumberedError::NumberedError;
};

} // namespace velora::widgets
