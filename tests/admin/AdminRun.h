#pragma once

#include "TestPaths.h"
#include "db/Connection.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

namespace velora::test {

// One run of the built velora-admin executable.
struct AdminRun {
    int exitCode = -1;
    QString out;
    QString err;

    // locale: the VELORA_LOCALE the program runs under (en_US when empty).
    static AdminRun run(const QStringList& arguments, const QString& locale = {}) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!locale.isEmpty())
            environment.insert(QStringLiteral("VELORA_LOCALE"), locale);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(VELORA_ADMIN_PATH), arguments);
        AdminRun result;
        if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit) {
            result.err = QStringLiteral("velora-admin did not finish: ") + process.errorString();
            return result;
        }
        result.exitCode = process.exitCode();
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }
};

// A connection to a database file through the embedded engine, as the program opens it.
inline std::unique_ptr<db::Connection> openDatabase(const QString& absolutePath) {
    auto connection = std::make_unique<db::Connection>();
    connection->open(QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=True;User ID=sa;"
                                    "Initial Catalog=") +
                     absolutePath + QStringLiteral(";Data Source=(embedded);PWD=;"));
    return connection;
}

} // namespace velora::test
