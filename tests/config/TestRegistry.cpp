#include "common/TestMain.h"
#include "config/Registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using velora::config::Registry;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Sets an environment variable for one test and puts the old state back afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const QByteArray& value)
        : name_(name)
        , wasSet_(qEnvironmentVariableIsSet(name))
        , old_(qgetenv(name)) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnvironment() {
        if (wasSet_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    bool wasSet_;
    QByteArray old_;
};

const QByteArray kRootKey = "[Software\\Norvane and Company\\Quillset 2.0 for Windows\\2.0\\]\n";

} // namespace

class TestRegistry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(dir_.isValid()); }

    void readString_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("keyPath");
        QTest::addColumn<QString>("valueName");
        QTest::addColumn<QString>("expected");

        const QString root =
            QStringLiteral("Software\\Norvane and Company\\Quillset 2.0 for Windows\\2.0\\");
        const QByteArray suite = kRootKey + "LocalRootDir=/opt/halvex\n";
        QTest::newRow("string") << suite << root << "LocalRootDir"
                                << "/opt/halvex";
        QTest::newRow("key path and value name without case")
            << suite << root.toUpper() << "localrootdir"
            << "/opt/halvex";
        QTest::newRow("query without trailing separator")
            << suite << root.chopped(1) << "LocalRootDir"
            << "/opt/halvex";
        QTest::newRow("query with forward slashes")
            << suite << "Software/Norvane and Company/Quillset 2.0 for Windows/2.0/"
            << "LocalRootDir"
            << "/opt/halvex";
        QTest::newRow("section without trailing separator")
            << QByteArray("[SOFTWARE\\ODBC\\ODBC.INI\\demo]\nDATABASE=inc\n")
            << "SOFTWARE\\ODBC\\ODBC.INI\\demo"
            << "DATABASE"
            << "inc";
        QTest::newRow("missing value") << suite << root << "Other"
                                       << "";
        QTest::newRow("missing key") << suite << "Software\\Other"
                                     << "LocalRootDir"
                                     << "";
        QTest::newRow("parent key does not hold child values")
            << suite << "Software\\Norvane and Company"
            << "LocalRootDir"
            << "";
        QTest::newRow("dword is not a string")
            << QByteArray(kRootKey + "LocalRootDir=dword:0000001f\n") << root << "LocalRootDir"
            << "";
        QTest::newRow("binary is not a string")
            << QByteArray(kRootKey + "LocalRootDir=hex(2):41,00\n") << root << "LocalRootDir"
            << "";
        QTest::newRow("quoted text is a string")
            << QByteArray(kRootKey + "LocalRootDir=\"dword:1\"\n") << root << "LocalRootDir"
            << "dword:1";
        QTest::newRow("255 characters fit")
            << QByteArray(kRootKey + "LocalRootDir=" + QByteArray(255, 'r') + "\n") << root
            << "LocalRootDir" << QString(255, u'r');
        QTest::newRow("256 characters do not")
            << QByteArray(kRootKey + "LocalRootDir=" + QByteArray(256, 'r') + "\n") << root
            << "LocalRootDir"
            << "";
        QTest::newRow("default value") << QByteArray("[Software\\X]\n@=default\n") << "Software\\X"
                                       << ""
                                       << "default";
    }

    void readString() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, keyPath);
        QFETCH(QString, valueName);
        QFETCH(QString, expected);
        const QString path = dir_.filePath(QStringLiteral("registry.ini"));
        writeFile(path, contents);
        const Registry registry(path, path);
        QCOMPARE(registry.readString(Registry::Root::LocalMachine, keyPath, valueName), expected);
    }

    void rootsReadTheirOwnFiles() {
        const QString machine = dir_.filePath(QStringLiteral("machine.ini"));
        const QString user = dir_.filePath(QStringLiteral("user.ini"));
        writeFile(machine, "[Software\\X]\nV=machine\n");
        writeFile(user, "[Software\\X]\nV=user\n");
        const Registry registry(machine, user);
        const QString key = QStringLiteral("Software\\X");
        QCOMPARE(registry.readString(Registry::Root::LocalMachine, key, QStringLiteral("V")),
                 QStringLiteral("machine"));
        QCOMPARE(registry.readString(Registry::Root::CurrentUser, key, QStringLiteral("V")),
                 QStringLiteral("user"));
    }

    void missingFileReadsEmpty() {
        const QString none = dir_.filePath(QStringLiteral("none.ini"));
        const Registry registry(none, none);
        QCOMPARE(registry.readString(Registry::Root::CurrentUser, QStringLiteral("Software\\X"),
                                     QStringLiteral("V")),
                 QString());
    }

    void environmentFileServesBothRoots() {
        const ScopedEnvironment single("VELORA_REGISTRY", "/tmp/velora-registry.ini");
        const Registry registry = Registry::fromEnvironment();
        QCOMPARE(registry.file(Registry::Root::LocalMachine),
                 QStringLiteral("/tmp/velora-registry.ini"));
        QCOMPARE(registry.file(Registry::Root::CurrentUser),
                 QStringLiteral("/tmp/velora-registry.ini"));
    }

    void environmentConfigDirectory_data() {
        QTest::addColumn<QByteArray>("xdg");
        QTest::addColumn<QString>("directory");
        QTest::newRow("XDG_CONFIG_HOME") << QByteArray("/srv/conf") << "/srv/conf/velora/";
        QTest::newRow("unset") << QByteArray() << "/home/op/.config/velora/";
        QTest::newRow("relative is ignored") << QByteArray("conf") << "/home/op/.config/velora/";
    }

    void environmentConfigDirectory() {
        QFETCH(QByteArray, xdg);
        QFETCH(QString, directory);
        const ScopedEnvironment noSingle("VELORA_REGISTRY", QByteArray());
        const ScopedEnvironment home("HOME", "/home/op");
        const ScopedEnvironment config("XDG_CONFIG_HOME", xdg);
        const Registry registry = Registry::fromEnvironment();
        QCOMPARE(registry.file(Registry::Root::LocalMachine),
                 directory + QStringLiteral("registry.ini"));
        QCOMPARE(registry.file(Registry::Root::CurrentUser),
                 directory + QStringLiteral("registry-user.ini"));
    }

private:
    QTemporaryDir dir_;
};

VELORA_TEST(TestRegistry)
#include "TestRegistry.moc"
