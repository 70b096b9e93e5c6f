#pragma once

#include <QString>

namespace velora::common {

// True when a configuration flag says yes: the text, trimmed and upper-cased, is one of
// Y, YES, ENABLE, ENABLED, TRUE or ON.
bool AffermativeValue(const QString& text);

} // namespace velora::common
