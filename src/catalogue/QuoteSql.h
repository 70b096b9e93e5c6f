#pragma once

#include <QString>

namespace velora::catalogue {

// Makes a text safe to put between single quotes in a statement: every single quote is doubled.
QString QuoteSql(const QString& value);

} // namespace velora::catalogue
