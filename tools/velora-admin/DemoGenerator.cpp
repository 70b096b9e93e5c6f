#include "DemoGenerator.h"

#include "DemoCatalogue.h"
#include "DemoCatalogueWriter.h"
#include "DemoFormulas.h"
#include "DemoProduction.h"
#include "DemoRandom.h"

#include "db/ConnectionOptions.h"
#include "db/DbError.h"
#include "db/Schema.h"
#include "db/SqliteEngine.h"
#include "db/SqliteStatement.h"

#include <QFile>
#include <sqlite3.h>

namespace velora::admin {

namespace {

std::int64_t countRows(sqlite3* db, const char* table) {
    const QByteArray sql = QByteArray("SELECT COUNT(*) FROM ") + table;
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(statement);
    const std::int64_t count = rc == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : 0;
    sqlite3_finalize(statement);
    if (rc != SQLITE_ROW)
        db::throwSqliteError(db, rc, QString::fromUtf8(sql));
    return count;
}

void removeDatabase(const QString& path) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace

const std::vector<const char*>& DemoGenerator::tables() {
    static const std::vector<const char*> names{"System_partitions", "Account_info",
                                                "Trans_info",        "Incentive_formula",
                                                "Incentive_group",   "Incentive_group_formula",
                                                "Trans_incentive",   "Trans_activity",
                                                "Suite_user",        "Suite_user_privilege"};
    return names;
}

TableCounts DemoGenerator::generate(const QString& path) {
    db::Schema::createSqliteDatabase(path);
    try {
        return fill(path);
    } catch (...) {
        removeDatabase(path);
        throw;
    }
}

TableCounts DemoGenerator::fill(const QString& path) {
    db::SqliteEngine engine(path, db::ConnectionOptions{});
    sqlite3* db = engine.handle();
    // Nothing is lost if the machine stops half-way: the file is simply made again. A larger
    // page cache keeps the indexes of the production table in memory while it grows.
    engine.executeNative(QStringLiteral("PRAGMA synchronous = OFF; PRAGMA cache_size = -262144; "
                                        "PRAGMA temp_store = MEMORY"));
    engine.executeNative(QStringLiteral("BEGIN"));

    DemoRandom random(options_.seed);
    const DemoCatalogue catalogue(options_, random);
    const DemoFormulas formulas(catalogue.liveAccountIds());
    DemoCatalogueWriter(db, options_).write(catalogue, formulas);
    DemoProduction(options_, catalogue, formulas, random).write(db);

    engine.executeNative(QStringLiteral("COMMIT"));
    engine.executeNative(QStringLiteral("PRAGMA synchronous = NORMAL; ANALYZE"));

    TableCounts counts;
    for (const char* table : tables())
        counts.emplace_back(QString::fromLatin1(table), countRows(db, table));
    return counts;
}

} // namespace velora::admin
