#include "ExplorerNumbers.h"

#include "ExplorerError.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace velora::explorer {

qint16 ExplorerNumbers::AccountNumber(const QString& id) {
    bool ok = false;
    const double value = id.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw ExplorerError(ExplorerErrorNumber::TypeMismatch,
                            QStringLiteral("Type mismatch: account id \"") + id +
                                QStringLiteral("\" is not a number"));
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<qint16>::min() ||
        rounded > std::numeric_limits<qint16>::max())
        throw ExplorerError(ExplorerErrorNumber::Overflow,
                            QStringLiteral("Overflow: account id ") + id);
    return static_cast<qint16>(rounded);
}

double ExplorerNumbers::LeadingValue(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral(R"(^\s*([+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?))"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(1).toDouble() : 0.0;
}

} // namespace velora::explorer
