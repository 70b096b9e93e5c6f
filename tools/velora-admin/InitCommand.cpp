#include "InitCommand.h"

#include "AdminError.h"

#include "db/Schema.h"

#include <QFileInfo>

namespace velora::admin {

QString InitCommand::usage() const {
    return QStringLiteral("init FILE");
}

int InitCommand::run(const QStringList& arguments, QTextStream& out) {
    if (arguments.size() != 1 || arguments.first().isEmpty())
        throw UsageError(QStringLiteral("expects exactly one database file"));
    const QString path = QFileInfo(arguments.first()).absoluteFilePath();
    // Checked here as well as by the schema so the message names the file plainly; an
    // existing database is never touched.
    if (QFileInfo::exists(path))
        throw AdminError(AdminError::FileAlreadyExists,
                         QStringLiteral("The file %1 already exists; init only creates new "
                                        "databases.")
                             .arg(path));
    db::Schema::createSqliteDatabase(path);
    out << "Created " << path << '\n';
    return 0;
}

} // namespace velora::admin
