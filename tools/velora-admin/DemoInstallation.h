#pragma once

#include <QFileDevice>
#include <QString>

namespace velora::admin {

// The folders and files of an installation below its root folder, as the program finds them:
// the registry stand-in names the root ("LocalRootDir"), the root holds
// HALVEX/SYSTEM/HALVEX.INI, and the configuration names the database next to it.
class DemoInstallation {
public:
    explicit DemoInstallation(const QString& rootDirectory);

    static constexpr const char* kDatabaseFileName = "incentive.sqlite";
    static constexpr const char* kPassword = "demo";
    static QString registryKey();

    const QString& root() const { return root_; }
    QString systemDirectory() const;
    QString configurationFile() const;
    QString databaseFile() const;
    QString registryFile() const;

    // Creates HALVEX/SYSTEM below the root; fails when the database, the configuration or
    // the registry file is there already, so an installation in use is never overwritten.
    void prepareDirectories() const;
    void writeConfiguration() const;
    void writeRegistry() const;

private:
    // Written whole or not at all; permissions, when given, replace the default ones.
    static void writeFile(const QString& path, const QString& text,
                          QFileDevice::Permissions permissions = {});

    QString root_;
};

} // namespace velora::admin
