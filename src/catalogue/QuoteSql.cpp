#include "QuoteSql.h"

namespace velora::catalogue {

QString QuoteSql(const QString& value) {
    QString quoted;
    quoted.reserve(value.size() + value.count(QLatin1Char('\'')));
    for (const QChar c : value) {
        quoted += c;
        if (c == QLatin1Char('\''))
            quoted += c;
    }
    return quoted;
}

} // namespace velora::catalogue
