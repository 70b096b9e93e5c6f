// Bad input on the embedded engine: every failure is a DbError with a number and a
// description, nothing runs that the statement did not mean, and the database stays whole.
#include "CorpusFixture.h"
#include "common/TestMain.h"
#include "db/DbError.h"

#include <QFile>
#include <QTest>

using velora::db::Connection;
using velora::db::ConnectionOptions;
using velora::db::DbError;
using velora::test::CorpusFixture;
using velora::test::quoteSql;

namespace {

// The number and description of the DbError a call throws; number 0 when it throws nothing.
template <typename Call> std::pair<int, QString> errorOf(Call call) {
    try {
        call();
    } catch (const DbError& e) {
        return {e.number(), e.description()};
    }
    return {0, QString()};
}

int userCount(CorpusFixture& fx) {
    auto rows = fx.open(QStringLiteral("SELECT COUNT(*) FROM Trans_info"));
    return rows && !rows->eof() ? rows->value(0).toInt() : -1;
}

} // namespace

class TestStatementErrors : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusedStatementGivesNumberAndDescription_data();
    void refusedStatementGivesNumberAndDescription();
    void quotedInjectionIsStoredAsText();
    void missingDatabaseFileFailsToOpen();
    void closedConnectionRefusesStatements();
    void writeWaitsForAnotherWriterThenFailsBusy();
};

void TestStatementErrors::refusedStatementGivesNumberAndDescription_data() {
    using namespace velora::db::ErrorNumber;
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("number");
    QTest::newRow("syntax error") << "SELEC trans_id FROM Trans_info" << CommandError;
    QTest::newRow("unknown table") << "SELECT * FROM Trans_nothing" << CommandError;
    QTest::newRow("unknown column") << "SELECT no_such_column FROM Trans_info" << CommandError;
    QTest::newRow("unterminated text")
        << "SELECT trans_id FROM Trans_info WHERE trans_id = 'jsmith" << CommandError;
    QTest::newRow("unknown procedure") << "EXEC usp_no_such_procedure 1" << CommandError;
    QTest::newRow("procedure argument not a number")
        << "EXEC usp_incentive_get_preference 'INCENT_HOUR_TYPE', 'abc'" << DataConversion;
    QTest::newRow("two statements, the second unquoted")
        << "SELECT trans_id FROM Trans_info WHERE trans_id = 'x'; DROP TABLE Trans_info; --'"
        << CommandError;
    QTest::newRow("date that is no date in the regional form")
        << "UPDATE trans_incentive SET locked = 1 WHERE trans_id='jsmith' AND shift_date < "
           "'31/01/2024'"
        << DataConversion;
    QTest::newRow("duplicate day") << "INSERT INTO trans_incentive (number_rpts_modified, "
                                      "chars_modified, lines_modified, trans_id, hosp_acct_id, "
                                      "shift_date, dept_id) VALUES(1, 1, 1, 'jsmith', 101, "
                                      "'2024-01-29', 0)"
                                   << IntegrityViolation;
}

void TestStatementErrors::refusedStatementGivesNumberAndDescription() {
    QFETCH(QString, statement);
    QFETCH(int, number);
    CorpusFixture fx;
    const auto [thrown, description] = errorOf([&] { fx.connection().openRecordset(statement); });
    QCOMPARE(thrown, number);
    QVERIFY(!description.trimmed().isEmpty());

    QCOMPARE(userCount(fx), 6);
    auto locked = fx.open(QStringLiteral("SELECT COUNT(*) FROM trans_incentive WHERE locked = 1"));
    QVERIFY2(locked, qPrintable(fx.lastError()));
    QCOMPARE(locked->value(0).toInt(), 4);
}

void TestStatementErrors::quotedInjectionIsStoredAsText() {
    CorpusFixture fx;
    const QString name = QStringLiteral("Ann'; DROP TABLE Trans_info; --");
    auto changed = fx.execute(QStringLiteral("UPDATE Trans_info SET first_name = '") +
                              quoteSql(name) + QStringLiteral("' WHERE trans_id = 'jsmith'"));
    QVERIFY2(changed, qPrintable(fx.lastError()));
    QCOMPARE(*changed, 1);

    auto rows = fx.open(QStringLiteral("SELECT first_name FROM Trans_info WHERE trans_id = '") +
                        quoteSql(QStringLiteral("jsmith")) + QStringLiteral("'"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QVERIFY(!rows->eof());
    QCOMPARE(rows->value(0).toString(), name);
    QCOMPARE(userCount(fx), 6);
}

void TestStatementErrors::missingDatabaseFileFailsToOpen() {
    CorpusFixture fx;
    ConnectionOptions options;
    options.baseDirectory = fx.database().folder();
    Connection connection(options);
    const auto [number, description] = errorOf([&] {
        connection.open(QStringLiteral("Provider=SQLOLEDB.1;Initial Catalog=missing.sqlite;"
                                       "Data Source=(embedded)"));
    });
    QVERIFY(number != 0);
    QVERIFY(!description.isEmpty());
    QVERIFY(!connection.isOpen());
    QVERIFY2(!QFile::exists(fx.database().folder() + QStringLiteral("/missing.sqlite")),
             "opening must not create the file");
}

void TestStatementErrors::closedConnectionRefusesStatements() {
    CorpusFixture fx;
    fx.connection().close();
    const auto [number, description] =
        errorOf([&] { fx.connection().execute(QStringLiteral("DELETE FROM Trans_info")); });
    QCOMPARE(number, velora::db::ErrorNumber::ConnectionClosed);
    QVERIFY(!description.isEmpty());
    fx.connection().ensureOpen();
    QCOMPARE(userCount(fx), 6);
}

void TestStatementErrors::writeWaitsForAnotherWriterThenFailsBusy() {
    CorpusFixture fx;
    ConnectionOptions options;
    options.baseDirectory = fx.database().folder();
    options.busyTimeoutMs = 200;
    Connection waiting(options);
    QVERIFY(errorOf([&] { waiting.open(fx.database().connectionString()); }).first == 0);

    // Another workstation holds a write transaction.
    std::unique_ptr<Connection> holder = fx.database().openAnother();
    QVERIFY(errorOf([&] {
                holder->beginTransaction();
                holder->execute(QStringLiteral("UPDATE Trans_info SET is_deleted = 1 WHERE "
                                               "trans_id = 'tnull'"));
            }).first == 0);

    const auto [number, description] = errorOf([&] {
        waiting.execute(
            QStringLiteral("UPDATE trans_incentive SET locked = 1 WHERE trans_id = 'jsmith'"));
    });
    QCOMPARE(number, velora::db::ErrorNumber::Busy);
    QVERIFY(!description.isEmpty());

    // Readers are not held up by the writer, and see the data as committed.
    int deleted = -1;
    const auto [readNumber, readDescription] = errorOf([&] {
        deleted = waiting
                      .openRecordset(QStringLiteral(
                          "SELECT is_deleted FROM Trans_info WHERE trans_id = 'tnull'"))
                      .value(0)
                      .toInt();
    });
    QVERIFY2(readNumber == 0, qPrintable(readDescription));
    QCOMPARE(deleted, 0);

    holder->rollback();
    QVERIFY2(errorOf([&] {
                 waiting.execute(QStringLiteral(
                     "UPDATE trans_incentive SET locked = 1 WHERE trans_id = 'jsmith'"));
             }).first == 0,
             "once the other writer is done the write goes through");
}

VELORA_TEST(TestStatementErrors)
#include "TestStatementErrors.moc"
