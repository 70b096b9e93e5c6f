#include "common/TestMain.h"
#include "config/OdbcDataSources.h"
#include "config/PrivateProfile.h"
#include "config/Registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using velora::config::OdbcDataSources;
using velora::config::PrivateProfile;
using velora::config::Registry;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

const QString kSuiteKey =
    QStringLiteral("Software\\Norvane and Company\\Quillset 2.0 for Windows\\2.0\\");

void row(const char* name, const QByteArray& contents, const QString& key, const QString& value,
         const QString& expected) {
    QTest::newRow(name) << contents << key << value << expected;
}

} // namespace

// The configuration file, the registry stand-in and the ODBC data-source check, each read from
// real files.
class TestConfigFiles : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString file(const char* name, const QByteArray& contents) {
        const QString path = dir_.filePath(QLatin1String(name));
        writeFile(path, contents);
        return path;
    }

private Q_SLOTS:
    // GetPrivateProfileString's reading: names without case, values trimmed and unquoted,
    // comments and other sections ignored, the first match wins, 255 characters at most.
    void privateProfile_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QByteArray system = "[System]\r\nServer=(embedded)\r\nUser=sa\r\n";
        row("names without case, CRLF", system, "SYSTEM", "server", "(embedded)");
        row("missing key", system, "System", "Password", "");
        row("blanks around names and value", "  [ System ]  \n  User  =  jo smith  \n", "System",
            "User", "jo smith");
        row("comment lines", "[System]\n;Password=old\n  ; User=x\n", "System", "Password", "");
        row("missing section", "[Other]\nServer=x\n", "System", "Server", "");
        row("semicolon, equals, backslash and comma inside a value",
            "[System]\nConn=C:\\a;b=c, d ; e\n", "System", "Conn", "C:\\a;b=c, d ; e");
        row("key before any section or in another", "User=x\n[Other]\nUser=x\n[System]\nServer=y\n",
            "System", "User", "");
        row("double quotes removed", "[System]\nUser=\" jo \"\n", "System", "User", " jo ");
        row("unmatched quote kept", "[System]\nUser=\"jo'\n", "System", "User", "\"jo'");
        row("first of duplicated keys", "[System]\nUser=a\nuser=b\n", "System", "User", "a");
        row("only the first of duplicated sections", "[System]\nUser=a\n[system]\nServer=b\n",
            "System", "Server", "");
        row("UTF-8 with byte-order mark", "\xEF\xBB\xBF[System]\nUser=J\xC3\xB6rg\n", "System",
            "User", QStringLiteral("J\u00F6rg"));
        row("Latin-1 file", "[System]\nUser=J\xF6rg\n", "System", "User",
            QStringLiteral("J\u00F6rg"));
        row("line without equals, no final line break", "[System]\nUser\nUser=jo", "System", "User",
            "jo");
        row("longer values cut to 255", "[S]\nK=" + QByteArray(300, 'v') + "\n", "S", "K",
            QString(255, u'v'));
    }

    void privateProfile() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QCOMPARE(PrivateProfile::getString(file("HALVEX.INI", contents), section, key), expected);
    }

    void registry_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("keyPath");
        QTest::addColumn<QString>("valueName");
        QTest::addColumn<QString>("expected");
        const QByteArray header = "[" + kSuiteKey.toUtf8() + "]\n";
        const QByteArray suite = header + "LocalRootDir=/opt/halvex\n";
        row("string", suite, kSuiteKey, "LocalRootDir", "/opt/halvex");
        row("names without case", suite, kSuiteKey.toUpper(), "localrootdir", "/opt/halvex");
        row("forward slashes, no trailing one", suite,
            "Software/Norvane and Company/Quillset 2.0 for Windows/2.0", "LocalRootDir",
            "/opt/halvex");
        row("missing value", suite, kSuiteKey, "Other", "");
        row("parent key does not hold child values", suite, "Software\\Norvane and Company",
            "LocalRootDir", "");
        row("dword is not a string", header + "LocalRootDir=dword:0000001f\n", kSuiteKey,
            "LocalRootDir", "");
        row("binary is not a string", header + "LocalRootDir=hex(2):41,00\n", kSuiteKey,
            "LocalRootDir", "");
        row("quoted text is a string", header + "LocalRootDir=\"dword:1\"\n", kSuiteKey,
            "LocalRootDir", "dword:1");
        row("255 characters fit", header + "LocalRootDir=" + QByteArray(255, 'r') + "\n", kSuiteKey,
            "LocalRootDir", QString(255, u'r'));
        row("256 characters do not", header + "LocalRootDir=" + QByteArray(256, 'r') + "\n",
            kSuiteKey, "LocalRootDir", "");
        row("default value", "[Software\\X]\n@=default\n", "Software\\X", "", "default");
    }

    void registry() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, keyPath);
        QFETCH(QString, valueName);
        QFETCH(QString, expected);
        const QString machine = file("registry.ini", contents);
        const QString user = file("registry-user.ini", "[Software\\X]\nV=user\n");
        const Registry registry(machine, user);
        QCOMPARE(registry.readString(Registry::Root::LocalMachine, keyPath, valueName), expected);
        QCOMPARE(registry.readString(Registry::Root::CurrentUser, QStringLiteral("Software\\X"),
                                     QStringLiteral("V")),
                 QStringLiteral("user"));
        const Registry missing(dir_.filePath(QStringLiteral("none")), QString());
        QCOMPARE(missing.readString(Registry::Root::LocalMachine, keyPath, valueName), QString());
    }

    void registryFilesFromTheEnvironment_data() {
        QTest::addColumn<QByteArray>("single");
        QTest::addColumn<QByteArray>("xdg");
        QTest::addColumn<QString>("machine");
        QTest::addColumn<QString>("user");
        QTest::newRow("one file for both")
            << QByteArray("/tmp/r.ini") << QByteArray() << "/tmp/r.ini"
            << "/tmp/r.ini";
        QTest::newRow("XDG_CONFIG_HOME")
            << QByteArray() << QByteArray("/srv/conf") << "/srv/conf/velora/registry.ini"
            << "/srv/conf/velora/registry-user.ini";
        QTest::newRow("relative XDG_CONFIG_HOME is ignored")
            << QByteArray() << QByteArray("conf") << "/home/op/.config/velora/registry.ini"
            << "/home/op/.config/velora/registry-user.ini";
    }

    void registryFilesFromTheEnvironment() {
        QFETCH(QByteArray, single);
        QFETCH(QByteArray, xdg);
        QFETCH(QString, machine);
        QFETCH(QString, user);
        // Set for the reading only, and put back as they were before anything is compared.
        const char* const names[] = {"VELORA_REGISTRY", "HOME", "XDG_CONFIG_HOME"};
        const QByteArray values[] = {single, "/home/op", xdg};
        std::optional<QByteArray> saved[3];
        for (int i = 0; i < 3; ++i) {
            if (qEnvironmentVariableIsSet(names[i]))
                saved[i] = qgetenv(names[i]);
            values[i].isNull() ? qunsetenv(names[i]) : qputenv(names[i], values[i]);
        }
        const Registry registry = Registry::fromEnvironment();
        for (int i = 0; i < 3; ++i)
            saved[i] ? qputenv(names[i], *saved[i]) : qunsetenv(names[i]);
        QCOMPARE(registry.file(Registry::Root::LocalMachine), machine);
        QCOMPARE(registry.file(Registry::Root::CurrentUser), user);
    }

    // A data source is registered when its DATABASE is not empty: in the registry (machine,
    // then user), then in the driver manager's system and user files.
    void odbcDataSource_data() {
        QTest::addColumn<QByteArrayList>("files"); // machine, user, system odbc.ini, ~/.odbc.ini
        QTest::addColumn<bool>("registered");
        const QByteArray inRegistry = "[SOFTWARE\\ODBC\\ODBC.INI\\Halvex]\nDATABASE=hv2\n";
        const QByteArray emptyInRegistry = "[SOFTWARE\\ODBC\\ODBC.INI\\Halvex]\nDATABASE=\n";
        const QByteArray inOdbcIni = "[Halvex]\nDriver=FreeTDS\nDatabase = hv2\n";
        QTest::newRow("nowhere") << QByteArrayList{"", "", "", ""} << false;
        QTest::newRow("local machine") << QByteArrayList{inRegistry, "", "", ""} << true;
        QTest::newRow("empty for the machine, set for the user")
            << QByteArrayList{emptyInRegistry, inRegistry, "", ""} << true;
        QTest::newRow("empty everywhere")
            << QByteArrayList{emptyInRegistry, emptyInRegistry, "[Halvex]\nDatabase=\n", ""}
            << false;
        QTest::newRow("system odbc.ini") << QByteArrayList{"", "", inOdbcIni, ""} << true;
        QTest::newRow("user odbc.ini") << QByteArrayList{"", "", "", inOdbcIni} << true;
        QTest::newRow("other data source only")
            << QByteArrayList{"[SOFTWARE\\ODBC\\ODBC.INI\\Other]\nDATABASE=x\n", "",
                              "[Other]\nDatabase=x\n", ""}
            << false;
    }

    void odbcDataSource() {
        QFETCH(QByteArrayList, files);
        QFETCH(bool, registered);
        const Registry registry(file("machine.ini", files[0]), file("user.ini", files[1]));
        const OdbcDataSources sources(
            registry, {file("odbc.ini", files[2]), file("user-odbc.ini", files[3])});
        QCOMPARE(sources.isRegistered(QStringLiteral("Halvex")), registered);
    }
};

VELORA_TEST(TestConfigFiles)
#include "TestConfigFiles.moc"
