#include "common/TestMain.h"
#include "config/OdbcDataSources.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using velora::config::OdbcDataSources;
using velora::config::Registry;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

class TestOdbcDataSources : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(dir_.isValid()); }

    void isRegistered_data() {
        QTest::addColumn<QByteArray>("machine");
        QTest::addColumn<QByteArray>("user");
        QTest::addColumn<QByteArray>("systemOdbcIni");
        QTest::addColumn<QByteArray>("userOdbcIni");
        QTest::addColumn<bool>("registered");

        const QByteArray inRegistry = "[SOFTWARE\\ODBC\\ODBC.INI\\Halvex]\nDATABASE=hv2\n";
        const QByteArray emptyInRegistry = "[SOFTWARE\\ODBC\\ODBC.INI\\Halvex]\nDATABASE=\n";
        const QByteArray inOdbcIni = "[Halvex]\nDriver=FreeTDS\nDatabase = hv2\n";
        QTest::newRow("nowhere") << QByteArray() << QByteArray() << QByteArray() << QByteArray()
                                 << false;
        QTest::newRow("local machine")
            << inRegistry << QByteArray() << QByteArray() << QByteArray() << true;
        QTest::newRow("current user")
            << QByteArray() << inRegistry << QByteArray() << QByteArray() << true;
        QTest::newRow("empty in local machine, set for current user")
            << emptyInRegistry << inRegistry << QByteArray() << QByteArray() << true;
        QTest::newRow("empty DATABASE everywhere")
            << emptyInRegistry << emptyInRegistry << QByteArray("[Halvex]\nDatabase=\n")
            << QByteArray() << false;
        QTest::newRow("system odbc.ini")
            << QByteArray() << QByteArray() << inOdbcIni << QByteArray() << true;
        QTest::newRow("user odbc.ini")
            << QByteArray() << QByteArray() << QByteArray() << inOdbcIni << true;
        QTest::newRow("other data source only")
            << QByteArray("[SOFTWARE\\ODBC\\ODBC.INI\\Other]\nDATABASE=x\n") << QByteArray()
            << QByteArray("[Other]\nDatabase=x\n") << QByteArray() << false;
        QTest::newRow("data source without DATABASE")
            << QByteArray("[SOFTWARE\\ODBC\\ODBC.INI\\Halvex]\nServer=x\n") << QByteArray()
            << QByteArray("[Halvex]\nServer=x\n") << QByteArray() << false;
    }

    void isRegistered() {
        QFETCH(QByteArray, machine);
        QFETCH(QByteArray, user);
        QFETCH(QByteArray, systemOdbcIni);
        QFETCH(QByteArray, userOdbcIni);
        QFETCH(bool, registered);
        const QString machineFile = dir_.filePath(QStringLiteral("registry.ini"));
        const QString userFile = dir_.filePath(QStringLiteral("registry-user.ini"));
        const QString systemIni = dir_.filePath(QStringLiteral("odbc.ini"));
        const QString userIni = dir_.filePath(QStringLiteral(".odbc.ini"));
        writeFile(machineFile, machine);
        writeFile(userFile, user);
        writeFile(systemIni, systemOdbcIni);
        writeFile(userIni, userOdbcIni);

        const Registry registry(machineFile, userFile);
        const OdbcDataSources sources(registry, {systemIni, userIni});
        QCOMPARE(sources.isRegistered(QStringLiteral("Halvex")), registered);
    }

private:
    QTemporaryDir dir_;
};

VELORA_TEST(TestOdbcDataSources)
#include "TestOdbcDataSources.moc"
