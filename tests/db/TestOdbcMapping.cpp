// What can be checked of the SQL Server route without a server: which engine a connection
// string selects, the ODBC text it becomes, the text of a procedure call, and a failed open.
#include "common/TestMain.h"
#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "db/OdbcEngine.h"

#include <QSqlDatabase>
#include <QTest>

using namespace velora::db;

namespace {

const QString sqlServer = QStringLiteral("DRIVER={ODBC Driver 18 for SQL Server};");

// Parameters from names; a trailing "!" marks an output parameter.
ProcedureParameters parameters(const QStringList& names) {
    ProcedureParameters result;
    for (QString name : names) {
        ProcedureParameter p;
        if (name.endsWith('!')) {
            name.chop(1);
            p.direction = ProcedureParameter::Direction::Output;
        }
        p.name = name;
        result.append(p);
    }
    return result;
}

} // namespace

class TestOdbcMapping : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void engineAndConnectionText_data();
    void engineAndConnectionText();
    void embeddedDatabasePath_data();
    void embeddedDatabasePath();
    void procedureCallText_data();
    void procedureCallText();
    void failedOdbcOpenLeavesNothingOpen();
};

void TestOdbcMapping::engineAndConnectionText_data() {
    QTest::addColumn<QString>("connectionString");
    QTest::addColumn<QString>("driver");
    QTest::addColumn<QString>("odbcText"); // "embedded" for the embedded engine
    const QString standard = "ODBC Driver 18 for SQL Server";
    // clang-format off
    QTest::newRow("provider")
        << "Provider=SQLOLEDB.1;Persist Security Info=True;User ID=sa;Initial Catalog=Halvex;Data Source=DBSRV01;"
           "PWD=p;APP=velora-incentive.EXE" << standard
        << sqlServer + "SERVER=DBSRV01;DATABASE=Halvex;UID=sa;PWD=p;APP=velora-incentive.EXE";
    QTest::newRow("configured driver and named instance")
        << "Provider=SQLOLEDB.1;User ID=sa;Initial Catalog=X;Data Source=SRV\\SQLEXPRESS;PWD=p" << "FreeTDS"
        << "DRIVER={FreeTDS};SERVER=SRV\\SQLEXPRESS;DATABASE=X;UID=sa;PWD=p";
    QTest::newRow("keys in any case, blanks around")
        << "provider=SQLOLEDB.1; user id = sa ;initial catalog=X;DATA SOURCE=Y;pwd=p" << standard
        << sqlServer + "SERVER=Y;DATABASE=X;UID=sa;PWD=p";
    QTest::newRow("Password instead of PWD")
        << "Provider=SQLOLEDB.1;User ID=sa;Initial Catalog=X;Data Source=Y;Password=secret" << standard
        << sqlServer + "SERVER=Y;DATABASE=X;UID=sa;PWD=secret";
    QTest::newRow("empty password") << "Provider=SQLOLEDB.1;User ID=sa;Initial Catalog=X;Data Source=Y;PWD="
        << standard << sqlServer + "SERVER=Y;DATABASE=X;UID=sa;PWD=";
    QTest::newRow("data source name ignores the driver")
        << "dsn=Halvex;User ID=u;PWD=p;APP=velora-incentive.EXE" << "FreeTDS"
        << "DSN=Halvex;UID=u;PWD=p;APP=velora-incentive.EXE";
    // Only "Data Source=(embedded)" selects the embedded engine.
    const QString prefix = "Provider=SQLOLEDB.1;User ID=sa;Initial Catalog=a.sqlite;";
    QTest::newRow("embedded, as built") << prefix + "Data Source=(embedded);PWD=" << standard << "embedded";
    QTest::newRow("embedded, any case, blanks") << prefix + " data source = (EMBEDDED) ;PWD=x" << standard
        << "embedded";
    const QString server = sqlServer + "SERVER=%1;DATABASE=a.sqlite;UID=sa;PWD=";
    QTest::newRow("without parentheses") << prefix + "Data Source=embedded" << standard << server.arg("embedded");
    QTest::newRow("server named like it") << prefix + "Data Source=(embedded)2" << standard
        << server.arg("(embedded)2");
    QTest::newRow("no data source") << prefix << standard << server.arg("");
    QTest::newRow("data source name") << "DSN=(embedded);User ID=sa;PWD=" << standard
        << "DSN=(embedded);UID=sa;PWD=";
    // clang-format on
}

void TestOdbcMapping::engineAndConnectionText() {
    QFETCH(QString, connectionString);
    QFETCH(QString, driver);
    QFETCH(QString, odbcText);
    const ConnectionString parsed = ConnectionString::parse(connectionString);
    QCOMPARE(parsed.isEmbedded() ? "embedded" : parsed.odbcConnectionText(driver), odbcText);
}

void TestOdbcMapping::embeddedDatabasePath_data() {
    QTest::addColumn<QString>("catalog");
    QTest::addColumn<QString>("baseDirectory");
    QTest::addColumn<QString>("path");
    // clang-format off
    QTest::newRow("relative") << "a.sqlite" << "/opt/halvex/SYSTEM" << "/opt/halvex/SYSTEM/a.sqlite";
    QTest::newRow("backslashes") << "data\\a.sqlite" << "/opt/halvex" << "/opt/halvex/data/a.sqlite";
    QTest::newRow("upwards") << "../a.sqlite" << "/opt/halvex/SYSTEM" << "/opt/halvex/SYSTEM/../a.sqlite";
    QTest::newRow("absolute") << "/srv/data/a.sqlite" << "/opt/halvex" << "/srv/data/a.sqlite";
    QTest::newRow("no base folder") << "a.sqlite" << "" << "a.sqlite";
    QTest::newRow("no catalog") << "" << "/opt/halvex" << "";
    // clang-format on
}

void TestOdbcMapping::embeddedDatabasePath() {
    QFETCH(QString, catalog);
    QFETCH(QString, baseDirectory);
    QFETCH(QString, path);
    const ConnectionString parsed = ConnectionString::parse(
        "Provider=SQLOLEDB.1;Initial Catalog=" + catalog + ";Data Source=(embedded)");
    QCOMPARE(parsed.embeddedDatabasePath(baseDirectory), path);
}

void TestOdbcMapping::procedureCallText_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("parameters");
    QTest::addColumn<QString>("text"); // "" when the names are refused
    // clang-format off
    QTest::newRow("no parameters") << "usp_refresh" << QStringList() << "EXEC usp_refresh";
    QTest::newRow("inputs and an output") << "usp_incentive_add_formula"
        << QStringList{"@formula_name", "@formula_text", "@partition_id", "@formula_id!"}
        << "EXEC usp_incentive_add_formula @formula_name = ?, @formula_text = ?, @partition_id = ?, "
           "@formula_id = ? OUTPUT";
    QTest::newRow("name without @") << "usp_incentive_add_group" << QStringList{"partition_id", " group_id !"}
        << "EXEC usp_incentive_add_group @partition_id = ?, @group_id = ? OUTPUT";
    QTest::newRow("positional") << "usp_incentive_get_preference" << QStringList{"", ""}
        << "EXEC usp_incentive_get_preference ?, ?";
    QTest::newRow("qualified name") << "dbo.partition_select_children" << QStringList{""}
        << "EXEC dbo.partition_select_children ?";
    QTest::newRow("bracketed name") << "[dbo].[usp x]" << QStringList() << "EXEC [dbo].[usp x]";
    // Names that would end the statement or add to it are refused.
    QTest::newRow("empty procedure") << "" << QStringList() << "";
    QTest::newRow("procedure with statement") << "usp_x; DROP TABLE Trans_info" << QStringList() << "";
    QTest::newRow("procedure with comment") << "usp_x--" << QStringList() << "";
    QTest::newRow("unclosed bracket") << "[usp_x" << QStringList() << "";
    QTest::newRow("parameter with value") << "usp_x" << QStringList{"@a = 1, @b"} << "";
    QTest::newRow("parameter only @") << "usp_x" << QStringList{"@"} << "";
    QTest::newRow("parameter with quote") << "usp_x" << QStringList{"@a'"} << "";
    // clang-format on
}

void TestOdbcMapping::procedureCallText() {
    QFETCH(QString, name);
    QFETCH(QStringList, parameters);
    QFETCH(QString, text);
    try {
        QCOMPARE(OdbcEngine::procedureCallText(name, ::parameters(parameters)), text);
    } catch (const DbError& e) {
        QCOMPARE(e.number(), ErrorNumber::CommandError);
        QVERIFY(!e.description().isEmpty());
        QCOMPARE(QString(), text);
    }
}

// A failed open leaves the connection closed, refusing statements, and no connection behind in
// Qt's registry, however often it is tried.
void TestOdbcMapping::failedOdbcOpenLeavesNothingOpen() {
    const QStringList connectionsBefore = QSqlDatabase::connectionNames();
    ConnectionOptions options;
    options.odbcDriver = "Velora Test No Such Driver";
    for (const QString connectionString :
         {"DSN=velora_test_no_such_source;User ID=sa;PWD=x",
          "Provider=SQLOLEDB.1;User ID=sa;Initial Catalog=X;Data Source=nowhere;PWD="}) {
        Connection connection(options);
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                connection.open(connectionString);
                QFAIL(qPrintable("opened: " + connectionString));
            } catch (const DbError& e) {
                QCOMPARE(e.number(), ErrorNumber::ConnectionFailed);
                QVERIFY(!e.description().trimmed().isEmpty());
            }
            QCOMPARE(connection.state(), ConnectionState::Closed);
        }
        QVERIFY_THROWS_EXCEPTION(DbError, connection.execute("SELECT 1"));
    }
    QCOMPARE(QSqlDatabase::connectionNames(), connectionsBefore);
}

VELORA_TEST(TestOdbcMapping)
#include "TestOdbcMapping.moc"
