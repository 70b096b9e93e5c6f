#include "TestDatabase.h"

#include "db/DbError.h"
#include "db/Schema.h"

#include <QTest>

namespace velora::test {

TestDatabase::TestDatabase(const QString& regionalDateFormat)
    : path_(dir_.filePath(QStringLiteral("incentive.sqlite")))
    , dateFormat_(regionalDateFormat) {
    db::Schema::createSqliteDatabase(path_);
    connection_ = openAnother();
}

QString TestDatabase::connectionString() const {
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=True;User ID=sa;"
                          "Initial Catalog=incentive.sqlite;Data Source=(embedded);PWD=;"
                          "APP=velora-incentive.EXE");
}

std::unique_ptr<db::Connection> TestDatabase::openAnother() const {
    db::ConnectionOptions options;
    options.baseDirectory = dir_.path();
    options.regionalDateFormat = dateFormat_;
    auto connection = std::make_unique<db::Connection>(options);
    connection->open(connectionString());
    return connection;
}

void TestDatabase::exec(const QString& statement) {
    try {
        connection_->execute(statement);
    } catch (const db::DbError& e) {
        QFAIL(qPrintable(QStringLiteral("%1 failed: %2 %3")
                             .arg(statement)
                             .arg(e.number())
                             .arg(e.description())));
    }
}

QString TestDatabase::scalar(const QString& statement) {
    db::Recordset rs = connection_->openRecordset(statement);
    return rs.eof() ? QString() : rs.value(0).toString();
}

} // namespace velora::test
