#pragma once

#include "db/Connection.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace velora::test {

// A fresh SQLite database made from the schema in its own temporary folder, and a connection
// to it through the embedded engine. One per test function.
class TestDatabase {
public:
    explicit TestDatabase(const QString& regionalDateFormat = QStringLiteral("MM/dd/yyyy"));

    const QString& path() const { return path_; }
    QString folder() const { return dir_.path(); }
    QString connectionString() const;
    db::Connection& connection() { return *connection_; }
    // A second, independent connection to the same file (another workstation).
    std::unique_ptr<db::Connection> openAnother() const;

    // Runs statements through the engine, failing the test on any error.
    void exec(const QString& statement);
    // First column of the first row, as text ("" when there is no row).
    QString scalar(const QString& statement);

private:
    QTemporaryDir dir_;
    QString path_;
    QString dateFormat_;
    std::unique_ptr<db::Connection> connection_;
};

} // namespace velora::test
