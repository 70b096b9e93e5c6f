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
    void odbcConnectionText_data();
    void odbcConnectionText();
    void embeddedDetection_data();
    void embeddedDetection();
    void embeddedDatabasePath_data();
    void embeddedDatabasePath();
    void procedureCallText_data();
    void procedureCallText();
    void failedOdbcOpenLeavesNothingOpen();
};

void TestOdbcMapping::odbcConnectionText_data() {
    QTest::addColumn<QString>("connectionString");
    QTest::addColumn<QString>("driver");
    QTest::addColumn<QString>("odbcText");
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
    // clang-format on
}

void TestOdbcMapping::odbcConnectionText() {
    QFETCH(QString, connectionString);
    QFETCH(QString, driver);
    QFETCH(QString, odbcText);
    const ConnectionString parsed = ConnectionString::parse(connectionString);
    QVERIFY(!parsed.isEmbedded());
    QCOMPARE(parsed.odbcConnectionText(driver), odbcText);
}

void TestOdbcMapping::embeddedDetection_data() {
    QTest::addColumn<QString>("connectionString");
    QTest::addColumn<bool>("embedded");
    const QString prefix = "Provider=SQLOLEDB.1;User ID=sa;Initial Catalog=a.sqlite;";
    QTest::newRow("as built") << prefix + "Data Source=(embedded);PWD=" << true;
    QTest::newRow("any case, blanks") << prefix + " data source = (EMBEDDED) ;PWD=x" << true;
    QTest::newRow("without parentheses") << prefix + "Data Source=embedded" << false;
    QTest::newRow("a server") << prefix + "Data Source=DBSRV01" << false;
    QTest::newRow("server named like it") << prefix + "Data Source=(embedded)2" << false;
    QTest::newRow("no data source") << prefix << false;
    QTest::newRow("data source name") << "DSN=(embedded);User ID=sa;PWD=" << false;
}

void TestOdbcMapping::embeddedDetection() {
    QFETCH(QString, connectionString);
    QFETCH(bool, embedded);
    QCOMPARE(ConnectionString::parse(connectionString).isEmbedded(), embedded);
}

void TestOdbcMapping::embeddedDatabasePath_data() {
    QTest::addColumn<QString>("catalog");
    QTest::addColumn<QString>("baseDirectory");
    QTest::addColumn<QString>("path");
    // clang-format off
    QTest::newRow("relative") << "incentive.sqlite" << "/opt/halvex/SYSTEM" << "/opt/halvex/SYSTEM/incentive.sqlite";
    QTest::newRow("backslashes") << "data\\incentive.sqlite" << "/opt/halvex" << "/opt/halvex/data/incentive.sqlite";
    QTest::newRow("upwards") << "../incentive.sqlite" << "/opt/halvex/SYSTEM" << "/opt/halvex/SYSTEM/../incentive.sqlite";
    QTest::newRow("absolute") << "/srv/data/incentive.sqlite" << "/opt/halvex" << "/srv/data/incentive.sqlite";
    QTest::newRow("no base folder") << "incentive.sqlite" << "" << "incentive.sqlite";
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
        << "EXEC usp_incentive_add_formula @formula_name = ?, @formula_text = ?, @partition_id = ?, @formula_id = ? OUTPUT";
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
    for (const QString odbcText :
         {"DSN=velora_test_no_such_source;UID=sa;PWD=x",
          "DRIVER={Velora Test No Such Driver};SERVER=nowhere;DATABASE=X;UID=sa;PWD="}) {
        try {
            OdbcEngine engine(odbcText);
            QFAIL(qPrintable("opened: " + odbcText));
        } catch (const DbError& e) {
            QCOMPARE(e.number(), ErrorNumber::ConnectionFailed);
            QVERIFY2(!e.description().trimmed().isEmpty(), qPrintable(odbcText));
        }
    }
    Connection connection;
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            connection.open("DSN=velora_test_no_such_source;User ID=sa;PWD=x");
            QFAIL("the connection opened");
        } catch (const DbError& e) {
            QCOMPARE(e.number(), ErrorNumber::ConnectionFailed);
        }
        QCOMPARE(connection.state(), ConnectionState::Closed);
    }
    try {
        connection.execute("SELECT 1");
        QFAIL("a statement ran on a closed connection");
    } catch (const DbError& e) {
        QCOMPARE(e.number(), ErrorNumber::ConnectionClosed);
    }
    QCOMPARE(QSqlDatabase::connectionNames(), connectionsBefore);
}

VELORA_TEST(TestOdbcMapping)
#include "TestOdbcMapping.moc"
