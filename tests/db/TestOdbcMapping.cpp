#include "common/TestMain.h"
#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/DbError.h"
#include "db/OdbcEngine.h"

#include <QSqlDatabase>
#include <QTest>

using namespace velora::db;

namespace {

const QString sqlServerDriver = QStringLiteral("ODBC Driver 18 for SQL Server");

ProcedureParameter
parameter(const QString& name,
          ProcedureParameter::Direction direction = ProcedureParameter::Direction::Input) {
    ProcedureParameter p;
    p.name = name;
    p.direction = direction;
    return p;
}

} // namespace

// What can be checked of the SQL Server route without a server: which engine a connection
// string selects, the ODBC text it becomes, the text of a procedure call, and a failed open.
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
    void procedureCallRefusesNamesThatEndTheStatement_data();
    void procedureCallRefusesNamesThatEndTheStatement();
    void unknownDataSourceFailsCleanly();
    void connectionStaysClosedAfterAFailedOdbcOpen();
};

void TestOdbcMapping::odbcConnectionText_data() {
    QTest::addColumn<QString>("connectionString");
    QTest::addColumn<QString>("driver");
    QTest::addColumn<QString>("odbcText");

    QTest::newRow("provider")
        << QStringLiteral(
               "Provider=SQLOLEDB.1;Persist Security Info=True;User ID=sa;"
               "Initial Catalog=Halvex;Data Source=DBSRV01;PWD=p;APP=velora-incentive.EXE")
        << sqlServerDriver
        << QStringLiteral("DRIVER={ODBC Driver 18 for SQL Server};SERVER=DBSRV01;DATABASE=Halvex;"
                          "UID=sa;PWD=p;APP=velora-incentive.EXE");
    QTest::newRow("configured driver and named instance")
        << QStringLiteral("Provider=SQLOLEDB.1;User ID=sa;Initial Catalog=X;"
                          "Data Source=SRV\\SQLEXPRESS;PWD=p")
        << QStringLiteral("FreeTDS")
        << QStringLiteral("DRIVER={FreeTDS};SERVER=SRV\\SQLEXPRESS;DATABASE=X;UID=sa;PWD=p");
    QTest::newRow("keys in any case, blanks around")
        << QStringLiteral(
               "provider=SQLOLEDB.1; user id = sa ;initial catalog=X;DATA SOURCE=Y;pwd=p")
        << sqlServerDriver
        << QStringLiteral(
               "DRIVER={ODBC Driver 18 for SQL Server};SERVER=Y;DATABASE=X;UID=sa;PWD=p");
    QTest::newRow("Password instead of PWD")
        << QStringLiteral("Provider=SQLOLEDB.1;User ID=sa;Initial Catalog=X;Data Source=Y;"
                          "Password=secret")
        << sqlServerDriver
        << QStringLiteral("DRIVER={ODBC Driver 18 for SQL Server};SERVER=Y;DATABASE=X;UID=sa;"
                          "PWD=secret");
    QTest::newRow("empty password")
        << QStringLiteral("Provider=SQLOLEDB.1;User ID=sa;Initial Catalog=X;Data Source=Y;PWD=")
        << sqlServerDriver
        << QStringLiteral("DRIVER={ODBC Driver 18 for SQL Server};SERVER=Y;DATABASE=X;UID=sa;PWD=");
    QTest::newRow("data source name")
        << QStringLiteral("DSN=HalvexODBC;User ID=jsmith;PWD=pw;APP=velora-incentive.EXE")
        << sqlServerDriver
        << QStringLiteral("DSN=HalvexODBC;UID=jsmith;PWD=pw;APP=velora-incentive.EXE");
    QTest::newRow("data source name ignores the driver")
        << QStringLiteral("dsn=Halvex;User ID=u;PWD=p") << QStringLiteral("FreeTDS")
        << QStringLiteral("DSN=Halvex;UID=u;PWD=p");
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
    const QString prefix =
        QStringLiteral("Provider=SQLOLEDB.1;User ID=sa;Initial Catalog=a.sqlite;");
    QTest::newRow("as built") << prefix + QStringLiteral("Data Source=(embedded);PWD=") << true;
    QTest::newRow("upper case") << prefix + QStringLiteral("DATA SOURCE=(EMBEDDED)") << true;
    QTest::newRow("mixed case, blanks")
        << prefix + QStringLiteral(" data source = (Embedded) ;PWD=x") << true;
    QTest::newRow("without parentheses")
        << prefix + QStringLiteral("Data Source=embedded") << false;
    QTest::newRow("a server") << prefix + QStringLiteral("Data Source=DBSRV01") << false;
    QTest::newRow("server named like it")
        << prefix + QStringLiteral("Data Source=(embedded)2") << false;
    QTest::newRow("no data source") << prefix << false;
    QTest::newRow("data source name") << QStringLiteral("DSN=(embedded);User ID=sa;PWD=") << false;
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
    QTest::newRow("relative") << QStringLiteral("incentive.sqlite")
                              << QStringLiteral("/opt/halvex/HALVEX/SYSTEM")
                              << QStringLiteral("/opt/halvex/HALVEX/SYSTEM/incentive.sqlite");
    QTest::newRow("relative with backslashes")
        << QStringLiteral("data\\incentive.sqlite") << QStringLiteral("/opt/halvex")
        << QStringLiteral("/opt/halvex/data/incentive.sqlite");
    QTest::newRow("relative upwards")
        << QStringLiteral("../incentive.sqlite") << QStringLiteral("/opt/halvex/SYSTEM")
        << QStringLiteral("/opt/halvex/SYSTEM/../incentive.sqlite");
    QTest::newRow("absolute") << QStringLiteral("/srv/data/incentive.sqlite")
                              << QStringLiteral("/opt/halvex")
                              << QStringLiteral("/srv/data/incentive.sqlite");
    QTest::newRow("no base folder")
        << QStringLiteral("incentive.sqlite") << QString() << QStringLiteral("incentive.sqlite");
    QTest::newRow("no catalog") << QString() << QStringLiteral("/opt/halvex") << QString();
}

void TestOdbcMapping::embeddedDatabasePath() {
    QFETCH(QString, catalog);
    QFETCH(QString, baseDirectory);
    QFETCH(QString, path);
    const ConnectionString parsed =
        ConnectionString::parse(QStringLiteral("Provider=SQLOLEDB.1;Initial Catalog=") + catalog +
                                QStringLiteral(";Data Source=(embedded)"));
    QCOMPARE(parsed.embeddedDatabasePath(baseDirectory), path);
}

void TestOdbcMapping::procedureCallText_data() {
    using Direction = ProcedureParameter::Direction;
    QTest::addColumn<QString>("name");
    QTest::addColumn<ProcedureParameters>("parameters");
    QTest::addColumn<QString>("text");

    QTest::newRow("no parameters") << QStringLiteral("usp_refresh") << ProcedureParameters()
                                   << QStringLiteral("EXEC usp_refresh");
    QTest::newRow("inputs and an output")
        << QStringLiteral("usp_incentive_add_formula")
        << ProcedureParameters{parameter(QStringLiteral("@formula_name")),
                               parameter(QStringLiteral("@formula_text")),
                               parameter(QStringLiteral("@partition_id")),
                               parameter(QStringLiteral("@formula_id"), Direction::Output)}
        << QStringLiteral("EXEC usp_incentive_add_formula @formula_name = ?, @formula_text = ?, "
                          "@partition_id = ?, @formula_id = ? OUTPUT");
    QTest::newRow("name without @")
        << QStringLiteral("usp_incentive_add_group")
        << ProcedureParameters{parameter(QStringLiteral("partition_id")),
                               parameter(QStringLiteral(" group_id "), Direction::Output)}
        << QStringLiteral("EXEC usp_incentive_add_group @partition_id = ?, @group_id = ? OUTPUT");
    QTest::newRow("positional") << QStringLiteral("usp_incentive_get_preference")
                                << ProcedureParameters{parameter(QString()), parameter(QString())}
                                << QStringLiteral("EXEC usp_incentive_get_preference ?, ?");
    QTest::newRow("qualified name") << QStringLiteral("dbo.partition_select_children")
                                    << ProcedureParameters{parameter(QString())}
                                    << QStringLiteral("EXEC dbo.partition_select_children ?");
    QTest::newRow("bracketed name") << QStringLiteral("[dbo].[usp x]") << ProcedureParameters()
                                    << QStringLiteral("EXEC [dbo].[usp x]");
}

void TestOdbcMapping::procedureCallText() {
    QFETCH(QString, name);
    QFETCH(ProcedureParameters, parameters);
    QFETCH(QString, text);
    QCOMPARE(OdbcEngine::procedureCallText(name, parameters), text);
}

void TestOdbcMapping::procedureCallRefusesNamesThatEndTheStatement_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parameterName");
    QTest::newRow("empty procedure") << QString() << QString();
    QTest::newRow("procedure with statement")
        << QStringLiteral("usp_x; DROP TABLE Trans_info") << QString();
    QTest::newRow("procedure with comment") << QStringLiteral("usp_x--") << QString();
    QTest::newRow("unclosed bracket") << QStringLiteral("[usp_x") << QString();
    QTest::newRow("parameter with value")
        << QStringLiteral("usp_x") << QStringLiteral("@a = 1, @b");
    QTest::newRow("parameter only @") << QStringLiteral("usp_x") << QStringLiteral("@");
    QTest::newRow("parameter with quote") << QStringLiteral("usp_x") << QStringLiteral("@a'");
}

void TestOdbcMapping::procedureCallRefusesNamesThatEndTheStatement() {
    QFETCH(QString, name);
    QFETCH(QString, parameterName);
    ProcedureParameters parameters;
    if (!parameterName.isEmpty())
        parameters.append(parameter(parameterName));
    try {
        const QString text = OdbcEngine::procedureCallText(name, parameters);
        QFAIL(qPrintable(QStringLiteral("accepted as: ") + text));
    } catch (const DbError& e) {
        QCOMPARE(e.number(), ErrorNumber::CommandError);
        QVERIFY(!e.description().isEmpty());
    }
}

void TestOdbcMapping::unknownDataSourceFailsCleanly() {
    const QStringList connectionsBefore = QSqlDatabase::connectionNames();
    const QStringList odbcTexts = {
        QStringLiteral("DSN=velora_test_no_such_source;UID=sa;PWD=x"),
        QStringLiteral(
            "DRIVER={Velora Test No Such Driver};SERVER=nowhere;DATABASE=X;UID=sa;PWD=")};
    for (const QString& odbcText : odbcTexts) {
        try {
            OdbcEngine engine(odbcText);
            QFAIL(qPrintable(QStringLiteral("opened: ") + odbcText));
        } catch (const DbError& e) {
            QCOMPARE(e.number(), ErrorNumber::ConnectionFailed);
            QVERIFY2(!e.description().trimmed().isEmpty(), qPrintable(odbcText));
        }
    }
    // A failed open leaves no connection behind in Qt's registry.
    QCOMPARE(QSqlDatabase::connectionNames(), connectionsBefore);
}

void TestOdbcMapping::connectionStaysClosedAfterAFailedOdbcOpen() {
    Connection connection;
    const QString connectionString =
        QStringLiteral("DSN=velora_test_no_such_source;User ID=sa;PWD=x;APP=velora-incentive.EXE");
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            connection.open(connectionString);
            QFAIL("the connection opened");
        } catch (const DbError& e) {
            QCOMPARE(e.number(), ErrorNumber::ConnectionFailed);
        }
        QCOMPARE(connection.state(), ConnectionState::Closed);
    }
    try {
        connection.execute(QStringLiteral("SELECT 1"));
        QFAIL("a statement ran on a closed connection");
    } catch (const DbError& e) {
        QCOMPARE(e.number(), ErrorNumber::ConnectionClosed);
    }
}

VELORA_TEST(TestOdbcMapping)

#include "TestOdbcMapping.moc"
