#include "BackupCommand.h"

#include "AdminError.h"
#include "SqliteFile.h"

#include "db/DbError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace velora::admin {

namespace {

// The copy's file with the journal files SQLite may have left beside it.
void removeDatabaseFiles(const QString& path) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace

QString BackupCommand::usage() const {
    return QStringLiteral("backup DB FILE");
}

int BackupCommand::copyToNewFile(SqliteFile& source, const QString& path,
                                 const DatabaseCopy& copier) {
    const QString target = QFileInfo(path).absoluteFilePath();
    if (QFileInfo::exists(target))
        throw AdminError(
            AdminError::FileAlreadyExists,
            QStringLiteral("The file %1 already exists; it is not overwritten.").arg(target));
    const QString partial =
        target + QStringLiteral(".partial-%1").arg(QCoreApplication::applicationPid());
    try {
        int pages = 0;
        {
            SqliteFile copy(partial, SqliteFile::Mode::CreateNew);
            pages = copier.copy(source, copy);
            copy.execute(QStringLiteral("PRAGMA journal_mode = DELETE"));
            const QString problems = copy.integrityProblems();
            if (!problems.isEmpty())
                throw db::DbError(db::ErrorNumber::General,
                                  QStringLiteral("The copy of %1 failed its integrity check:\n%2")
                                      .arg(source.path(), problems));
        }
        if (!QFile::rename(partial, target))
            throw AdminError(AdminError::PathFileAccess,
                             QStringLiteral("The copy could not be renamed to %1.").arg(target));
        return pages;
    } catch (...) {
        removeDatabaseFiles(partial);
        throw;
    }
}

int BackupCommand::run(const QStringList& arguments, QTextStream& out) {
    if (arguments.size() != 2 || arguments.at(0).isEmpty() || arguments.at(1).isEmpty())
        throw UsageError(QStringLiteral("expects the database and the new backup file"));
    SqliteFile source(arguments.at(0), SqliteFile::Mode::ReadOnly);
    const int pages = copyToNewFile(source, arguments.at(1), copier_);
    out << "Backed up " << source.path() << " to " << QFileInfo(arguments.at(1)).absoluteFilePath()
        << " (" << pages << " pages, integrity check passed)\n";
    return 0;
}

} // namespace velora::admin
