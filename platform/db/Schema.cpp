#include "Schema.h"

#include "SqliteEngine.h"

namespace velora::db {

void Schema::createSqliteDatabase(const QString& path) {
    SqliteEngine engine(path, ConnectionOptions{}, SqliteEngine::OpenMode::Create);
    engine.executeNative(QStringLiteral("BEGIN"));
    engine.executeNative(QString::fromUtf8(sqliteText()));
    engine.executeNative(QStringLiteral("COMMIT"));
}

} // namespace velora::db
