#pragma once

#include <QString>

namespace velora::shell {

// The connection string with the value of every PWD= and Password= pair (key in any case,
// blanks around it allowed) replaced by "****", so that it can be shown or copied. Values in
// braces ({...}, ODBC) or quotes ("..." or '...', provider strings) may hold semicolons; they
// are masked whole. Everything else is kept as it stands.
QString maskPassword(const QString& connectionString);

} // namespace velora::shell
