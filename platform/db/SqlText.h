#pragma once

#include <QString>

namespace velora::db {

// A text value as a T-SQL string literal: between single quotes, each quote inside doubled,
// so that no value can end the literal early.
inline QString sqlTextLiteral(const QString& value) {
    QString doubled = value;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

} // namespace velora::db
