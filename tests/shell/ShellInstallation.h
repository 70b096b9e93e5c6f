#pragma once

#include "common/AppContext.h"
#include "common/ScriptedMessages.h"
#include "common/TestDatabase.h"
#include "config/Registry.h"
#include "suite/SuiteUserStore.h"

#include <QDir>
#include <QFile>

namespace velora::test {

// A suite installation in a temporary folder for start-up tests: the database, HALVEX.INI
// naming it, a registry file naming the folder, and logins with the smallest hash cost; the
// program logs in as the supervisor unless the switches are changed.
struct ShellInstallation {
    TestDatabase db;
    QString iniPath;
    QString registryPath;
    ScriptedMessages messages;
    QString switches = QStringLiteral("/UNAME=sup /PASSWORD=pw"); // the supervisor's login

    ShellInstallation() {
        QDir(db.folder()).mkpath(QStringLiteral("HALVEX/SYSTEM"));
        iniPath = db.folder() + QStringLiteral("/HALVEX/SYSTEM/HALVEX.INI");
        writeIni(QStringLiteral("[System]\r\nServer=(embedded)\r\n"
                                "Database=../../incentive.sqlite\r\nUser=sa\r\n"
                                "SupportDeletedReports=Y\r\n"));
        registryPath = db.folder() + QStringLiteral("/registry.ini");
        QFile registry(registryPath);
        registry.open(QIODevice::WriteOnly);
        registry.write("[Software\\Norvane and Company\\Quillset 2.0 for Windows\\2.0]\r\n"
                       "LocalRootDir=" +
                       db.folder().toUtf8() + "\r\n");
        db.exec(
            QStringLiteral("INSERT INTO Trans_info (trans_id, first_name, last_name, "
                           "trans_type, incentive_group_id) VALUES ('sup', 'Sue', 'Perry', 1, 1)"));
        addUser(QStringLiteral("sup"), QStringLiteral("pw"), QStringLiteral("sup"),
                {16, 17, 18, 19, 22, 23, 45});
    }

    void writeIni(const QString& text) {
        QFile ini(iniPath);
        ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
        ini.write(text.toUtf8());
    }

    // A login that has used the program before (the first-use preferences are behind it);
    // returns its user_id.
    int addUser(const QString& name, const QString& password, const QString& transId,
                const QList<int>& rights, int partitionId = 0) {
        suite::SuiteUserStore store(db.connection(), suite::PasswordHash::Cost::Minimum);
        suite::NewSuiteUser user;
        user.userName = name;
        user.password = password;
        user.transId = transId;
        user.partitionId = partitionId;
        const int userId = store.add(user);
        if (!rights.isEmpty())
            store.grant(name, rights);
        // Stored for no partition and for the login's own one, as partition mode reads it.
        db.exec(QStringLiteral("INSERT INTO Incentive_preference (user_id, pref_key, pref_value, "
                               "partition_id) VALUES (%1, 'INCENT_FIRST_TIME_USE', 'False', -1), "
                               "(%1, 'INCENT_FIRST_TIME_USE', 'False', %2)")
                    .arg(userId)
                    .arg(partitionId));
        return userId;
    }

    std::unique_ptr<common::AppContext> context() {
        return std::make_unique<common::AppContext>(
            messages, config::Registry(registryPath, registryPath), [this] { return switches; });
    }

    QString userPreference(const QString& key) {
        return db.scalar(QStringLiteral("SELECT pref_value FROM Incentive_preference WHERE "
                                        "pref_key = '") +
                         key + QStringLiteral("' AND user_id <> -1"));
    }
};

} // namespace velora::test
