#pragma once

#include "TestPaths.h"
#include "db/Connection.h"
#include "db/Recordset.h"

#include <QProcess>
#include <QTemporaryDir>
#include <memory>

namespace velora::test {

// A demo installation made by the real velora-admin (two partitions, a fixed seed and a fixed
// last day, 2024-03-14), with a connection to its database.
struct ReportDemo {
    QTemporaryDir dir;
    std::unique_ptr<db::Connection> connection;

    bool make() {
        QProcess admin;
        admin.start(QStringLiteral(VELORA_ADMIN_PATH),
                    {QStringLiteral("demo"), dir.path(), QStringLiteral("--users"),
                     QStringLiteral("12"), QStringLiteral("--days"), QStringLiteral("100"),
                     QStringLiteral("--partitions"), QStringLiteral("2"), QStringLiteral("--seed"),
                     QStringLiteral("7"), QStringLiteral("--today"), QStringLiteral("2024-03-15")});
        if (!admin.waitForFinished(300000) || admin.exitCode() != 0)
            return false;
        db::ConnectionOptions options;
        options.baseDirectory = dir.filePath(QStringLiteral("HALVEX/SYSTEM"));
        connection = std::make_unique<db::Connection>(options);
        connection->open(QStringLiteral("Provider=SQLOLEDB.1;User ID=sa;Initial "
                                        "Catalog=incentive.sqlite;Data Source=(embedded);PWD=;"));
        return true;
    }

    QVariant scalar(const QString& statement) {
        db::Recordset rows = connection->openRecordset(statement);
        return rows.eof() ? QVariant() : rows.value(0);
    }
};

} // namespace velora::test
