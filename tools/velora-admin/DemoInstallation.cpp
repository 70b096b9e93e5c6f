#include "DemoInstallation.h"

#include "AdminError.h"

#include "config/ConfigError.h"
#include "config/PasswordScrambling.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace velora::admin {

DemoInstallation::DemoInstallation(const QString& rootDirectory)
    : root_(QDir::cleanPath(QFileInfo(rootDirectory).absoluteFilePath())) {}

QString DemoInstallation::registryKey() {
    return QStringLiteral("Software\\Norvane and Company\\Quillset 2.0 for Windows\\2.0");
}

QString DemoInstallation::systemDirectory() const {
    return root_ + QStringLiteral("/HALVEX/SYSTEM");
}

QString DemoInstallation::configurationFile() const {
    return systemDirectory() + QStringLiteral("/HALVEX.INI");
}

QString DemoInstallation::databaseFile() const {
    return systemDirectory() + QLatin1Char('/') + QLatin1String(kDatabaseFileName);
}

QString DemoInstallation::registryFile() const {
    return root_ + QStringLiteral("/registry.ini");
}

void DemoInstallation::prepareDirectories() const {
    for (const QString& file : {databaseFile(), configurationFile(), registryFile()}) {
        if (QFileInfo::exists(file))
            throw AdminError(AdminError::FileAlreadyExists,
                             QStringLiteral("%1 already holds an installation (%2 exists); "
                                            "choose another folder or remove it first.")
                                 .arg(root_, file));
    }
    if (!QDir().mkpath(systemDirectory()))
        throw AdminError(AdminError::PathNotFound,
                         QStringLiteral("The folder %1 cannot be created.").arg(systemDirectory()));
}

void DemoInstallation::writeFile(const QString& path, const QString& text,
                                 QFileDevice::Permissions permissions) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit() ||
        (permissions && !QFile::setPermissions(path, permissions)))
        throw AdminError(
            AdminError::PathFileAccess,
            QStringLiteral("The file %1 cannot be written: %2").arg(path, file.errorString()));
}

void DemoInstallation::writeConfiguration() const {
    QString password;
    try {
        password = config::ScrambledText(QString::fromLatin1(kPassword));
    } catch (const config::ConfigError& e) {
        throw AdminError(e.number(), e.description());
    }
    // Database is relative to the folder of this file; the embedded engine resolves it there.
    // It holds the database login's password: owner and group only, like the database.
    writeFile(configurationFile(),
              QStringLiteral("[System]\n"
                             "Server=(embedded)\n"
                             "Database=") +
                  QLatin1String(kDatabaseFileName) +
                  QStringLiteral("\n"
                                 "User=sa\n"
                                 "Password=") +
                  password +
                  QStringLiteral("\n"
                                 "SupportDeletedReports=Y\n"
                                 "IncentiveClientSideCalculations=Y\n"),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);
}

void DemoInstallation::writeRegistry() const {
    writeFile(registryFile(), QLatin1Char('[') + registryKey() + QStringLiteral("]\n") +
                                  QStringLiteral("LocalRootDir=") + root_ + QLatin1Char('\n'));
}

} // namespace velora::admin
