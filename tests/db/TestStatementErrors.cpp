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
namespace ErrorNumber = velora::db::ErrorNumber;

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

// The fixture's users and locked rows, to see that nothing was changed.
const QString wholeness = QStringLiteral("SELECT (SELECT COUNT(*) FROM Trans_info), "
                                         "(SELECT COUNT(*) FROM trans_incentive WHERE locked = 1)");

} // namespace

class TestStatementErrors : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusedStatementChangesNothing_data();
    void refusedStatementChangesNothing();
    void failedOpenAndClosedConnectionRefuse();
    void writeWaitsForAnotherWriterThenFailsBusy();
};

void TestStatementErrors::refusedStatementChangesNothing_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("number");
    const int command = ErrorNumber::CommandError;
    // clang-format off
    QTest::newRow("syntax error") << "SELEC trans_id FROM Trans_info" << command;
    QTest::newRow("unknown table") << "SELECT * FROM Trans_nothing" << command;
    QTest::newRow("unknown column") << "SELECT no_such_column FROM Trans_info" << command;
    QTest::newRow("unterminated text") << "SELECT trans_id FROM Trans_info WHERE trans_id = 'jsmith" << command;
    QTest::newRow("unknown procedure") << "EXEC usp_no_such_procedure 1" << command;
    QTest::newRow("procedure argument not a number")
        << "EXEC usp_incentive_get_preference 'INCENT_HOUR_TYPE', 'abc'" << ErrorNumber::DataConversion;
    QTest::newRow("two statements, the second unquoted")
        << "SELECT trans_id FROM Trans_info WHERE trans_id = 'x'; DROP TABLE Trans_info; --'" << command;
    QTest::newRow("date that is no date in the regional form")
        << "UPDATE trans_incentive SET locked = 1 WHERE trans_id='jsmith' AND shift_date < '31/01/2024'"
        << ErrorNumber::DataConversion;
    QTest::newRow("duplicate day")
        << "INSERT INTO trans_incentive (number_rpts_modified, chars_modified, lines_modified, trans_id, "
           "hosp_acct_id, shift_date, dept_id) VALUES(1, 1, 1, 'jsmith', 101, '2024-01-29', 0)"
        << ErrorNumber::IntegrityViolation;
    // clang-format on
}

void TestStatementErrors::refusedStatementChangesNothing() {
    QFETCH(QString, statement);
    QFETCH(int, number);
    CorpusFixture fx;
    const auto [thrown, description] = errorOf([&] { fx.connection().openRecordset(statement); });
    QCOMPARE(thrown, number);
    QVERIFY(!description.trimmed().isEmpty());
    QCOMPARE(fx.rows(wholeness), QStringList{"6|4"});
}

// A missing database file is not created; a closed connection refuses statements until it is
// opened again, with the data as it was.
void TestStatementErrors::failedOpenAndClosedConnectionRefuse() {
    CorpusFixture fx;
    ConnectionOptions options;
    options.baseDirectory = fx.database().folder();
    Connection connection(options);
    const auto [number, description] = errorOf([&] {
        connection.open(
            "Provider=SQLOLEDB.1;Initial Catalog=missing.sqlite;Data Source=(embedded)");
    });
    QCOMPARE(number, ErrorNumber::ConnectionFailed);
    QVERIFY(!description.isEmpty());
    QVERIFY(!connection.isOpen());
    QVERIFY(!QFile::exists(fx.database().folder() + "/missing.sqlite"));

    fx.connection().close();
    QCOMPARE(errorOf([&] { fx.connection().execute("DELETE FROM Trans_info"); }).first,
             ErrorNumber::ConnectionClosed);
    fx.connection().ensureOpen();
    QCOMPARE(fx.rows(wholeness), QStringList{"6|4"});
}

void TestStatementErrors::writeWaitsForAnotherWriterThenFailsBusy() {
    CorpusFixture fx;
    ConnectionOptions options;
    options.baseDirectory = fx.database().folder();
    options.busyTimeoutMs = 200;
    Connection waiting(options);
    QCOMPARE(errorOf([&] { waiting.open(fx.database().connectionString()); }).first, 0);
    const QString lock = "UPDATE trans_incentive SET locked = 1 WHERE trans_id = 'jsmith'";

    // Another workstation holds a write transaction.
    std::unique_ptr<Connection> holder = fx.database().openAnother();
    QCOMPARE(errorOf([&] {
                 holder->beginTransaction();
                 holder->execute("UPDATE Trans_info SET is_deleted = 1 WHERE trans_id = 'tnull'");
             }).first,
             0);
    QCOMPARE(errorOf([&] { waiting.execute(lock); }).first, ErrorNumber::Busy);

    // Readers are not held up by the writer, and see the data as committed.
    int deleted = -1;
    QCOMPARE(errorOf([&] {
                 deleted = waiting
                               .openRecordset("SELECT is_deleted FROM Trans_info WHERE trans_id = "
                                              "'tnull'")
                               .value(0)
                               .toInt();
             }).first,
             0);
    QCOMPARE(deleted, 0);

    // Once the other writer is done the write goes through.
    holder->rollback();
    QCOMPARE(errorOf([&] { waiting.execute(lock); }).first, 0);
}

VELORA_TEST(TestStatementErrors)
#include "TestStatementErrors.moc"
