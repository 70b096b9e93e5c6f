#include "ReportFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace velora::report {

QString ReportFile::failure(const QString& path, const QString& reason) {
    return QStringLiteral("The report could not be written to ") + QDir::toNativeSeparators(path) +
           QStringLiteral(": ") + reason + QStringLiteral(".");
}

ExportResult ReportFile::save(const QString& path, const QByteArray& content) {
    if (path.isEmpty())
        return {false, failure(path, QStringLiteral("no file name was given"))};
    const QFileInfo target(path);
    if (target.isDir())
        return {false, failure(path, QStringLiteral("a folder has that name"))};
    if (!target.absoluteDir().exists())
        return {false, failure(path, QStringLiteral("the folder does not exist"))};
    const bool replacing = target.exists();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, failure(path, file.errorString())};
    // A new export holds everyone's pay: it is the owner's alone, like the database. A file it
    // replaces keeps the permissions its owner gave it.
    if (!replacing)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(content) != content.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {false, failure(path, reason)};
    }
    if (!file.commit())
        return {false, failure(path, file.errorString())};
    return {true, {}};
}

} // namespace velora::report
