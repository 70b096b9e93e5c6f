#include "RestoreCommand.h"

#include "AdminError.h"
#include "BackupCommand.h"
#include "SqliteFile.h"

#include "db/DbError.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace velora::admin {

namespace {

// The tables without which a file is not an incentive database, whatever else it holds.
void requireIncentiveTables(SqliteFile& backup) {
    for (const char* table : {"Trans_incentive", "Incentive_formula", "Suite_info"}) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(backup.handle(),
                           "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?", -1,
                           &statement, nullptr);
        sqlite3_bind_text(statement, 1, table, -1, SQLITE_STATIC);
        const bool found = sqlite3_step(statement) == SQLITE_ROW;
        sqlite3_finalize(statement);
        if (!found)
            throw db::DbError(db::ErrorNumber::General,
                              QStringLiteral("%1 is not a backup of an incentive database: it "
                                             "has no table %2. Nothing was restored.")
                                  .arg(backup.path(), QLatin1String(table)));
    }
}

void requireSoundBackup(SqliteFile& backup) {
    const QString problems = backup.integrityProblems();
    if (!problems.isEmpty())
        throw db::DbError(db::ErrorNumber::General,
                          QStringLiteral("The backup %1 failed its integrity check; nothing was "
                                         "restored:\n%2")
                              .arg(backup.path(), problems));
    requireIncentiveTables(backup);
}

// Takes the database for this connection alone, without waiting: in exclusive locking mode
// the lock taken by the first transaction is kept until the connection closes. Any other
// connection that has the file open (the program, the engine) makes this fail.
void lockExclusively(SqliteFile& database) {
    try {
        database.execute(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; "
                                        "SELECT COUNT(*) FROM sqlite_master; COMMIT;"));
    } catch (const db::DbError&) {
        throw DatabaseInUse(
            db::ErrorNumber::Busy,
            QStringLiteral("The database %1 is in use (the program, the engine or another tool "
                           "has it open). Close them and run restore again; nothing was "
                           "changed.")
                .arg(database.path()));
    }
}

} // namespace

QString RestoreCommand::usage() const {
    return QStringLiteral("restore FILE DB");
}

QString RestoreCommand::keptCopyPath(const QString& database, const QDateTime& at) {
    return QFileInfo(database).absoluteFilePath() + QStringLiteral(".before-restore-") +
           at.toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

void RestoreCommand::restoreOver(const QString& database, const QString& kept, SqliteFile& backup,
                                 QTextStream& out) const {
    SqliteFile target(database, SqliteFile::Mode::ReadWrite);
    lockExclusively(target);
    BackupCommand::copyToNewFile(target, kept, copier_);
    copier_.copy(backup, target);
    out << "Restored " << target.path() << " from " << backup.path() << "\n"
        << "The database as it was is kept in " << kept << '\n';
}

int RestoreCommand::run(const QStringList& arguments, QTextStream& out) {
    if (arguments.size() != 2 || arguments.at(0).isEmpty() || arguments.at(1).isEmpty())
        throw UsageError(QStringLiteral("expects the backup file and the database"));
    const QString database = QFileInfo(arguments.at(1)).absoluteFilePath();
    if (QFileInfo(arguments.at(0)).canonicalFilePath() == QFileInfo(database).canonicalFilePath())
        throw UsageError(QStringLiteral("the backup and the database are the same file"));
    SqliteFile backup(arguments.at(0), SqliteFile::Mode::ReadOnly);
    requireSoundBackup(backup);

    if (!QFileInfo::exists(database)) {
        BackupCommand::copyToNewFile(backup, database, copier_);
        out << "Restored " << database << " from " << backup.path() << '\n';
        return 0;
    }
    restoreOver(database, keptCopyPath(database, QDateTime::currentDateTime()), backup, out);
    return 0;
}

} // namespace velora::admin
