#include "AffermativeValue.h"

#include <QStringList>

namespace velora::common {

bool AffermativeValue(const QString& text) {
    static const QStringList affirmative{QStringLiteral("Y"),      QStringLiteral("YES"),
                                         QStringLiteral("ENABLE"), QStringLiteral("ENABLED"),
                                         QStringLiteral("TRUE"),   QStringLiteral("ON")};
    return affirmative.contains(text.trimmed().toUpper());
}

} // namespace velora::common
