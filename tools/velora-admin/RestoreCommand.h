#pragma once

#include "AdminCommand.h"
#include "DatabaseCopy.h"

#include <QDateTime>

namespace velora::admin {

// "restore FILE DB": puts a backup back. The backup must pass integrity_check and hold the
// incentive tables before anything is touched. An existing database is restored only when no
// one has it open (the program, the engine or another tool): the command takes an exclusive
// lock without waiting and keeps it until it is done, and refuses with DatabaseInUse when it
// cannot. The database as it was is kept first in DB.before-restore-<time>, so a restore
// over the wrong file loses nothing.
class RestoreCommand final : public AdminCommand {
public:
    explicit RestoreCommand(DatabaseCopy copier = {})
        : copier_(std::move(copier)) {}

    QString name() const override { return QStringLiteral("restore"); }
    QString usage() const override;
    int run(const QStringList& arguments, QTextStream& out) override;

    // Where the database as it was before a restore at the given time is kept.
    static QString keptCopyPath(const QString& database, const QDateTime& at);

private:
    void restoreOver(const QString& database, const QString& kept, class SqliteFile& backup,
                     QTextStream& out) const;

    DatabaseCopy copier_;
};

} // namespace velora::admin
