#pragma once

#include "AdminCommand.h"
#include "DatabaseCopy.h"

namespace velora::admin {

class SqliteFile;

// "backup DB FILE": a consistent copy of a database that the program and the engine may be
// using at the time, into a new file (an existing file is never overwritten, so swapped
// arguments cannot destroy the database). The copy is checked with integrity_check and kept
// as a single file (rollback journal) before it takes its name.
class BackupCommand final : public AdminCommand {
public:
    explicit BackupCommand(DatabaseCopy copier = {})
        : copier_(std::move(copier)) {}

    QString name() const override { return QStringLiteral("backup"); }
    QString usage() const override;
    int run(const QStringList& arguments, QTextStream& out) override;

    // Copies source into the new file path through a temporary file beside it, checks the
    // copy and renames it; nothing is left behind on failure. Returns the pages copied.
    static int copyToNewFile(SqliteFile& source, const QString& path, const DatabaseCopy& copier);

private:
    DatabaseCopy copier_;
};

} // namespace velora::admin
