#include "common/TestMain.h"
#include "config/Registry.h"
#include "shell/IHalvexINI.h"
#include "shell/ShellError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using velora::config::Registry;
using velora::shell::IHalvexINI;
using velora::shell::ShellError;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

class TestIHalvexINI : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString registryNaming(const QString& root) {
        const QString file = dir_.filePath(QStringLiteral("registry.ini"));
        writeFile(file, "[Software\\Norvane and Company\\Quillset 2.0 for Windows\\2.0\\]\n"
                        "LocalRootDir=" +
                            root.toUtf8() + "\n");
        return file;
    }

private Q_SLOTS:
    // The file below the root with or without a separator at its end, read anew on each call,
    // and replaced by a path in either separator form.
    void findsAndReadsTheFileBelowTheRoot_data() {
        QTest::addColumn<QString>("rootSuffix");
        QTest::newRow("no trailing separator") << "/suite";
        QTest::newRow("trailing slash") << "/suite/";
        QTest::newRow("trailing backslash") << "/suite\\";
    }

    void findsAndReadsTheFileBelowTheRoot() {
        QFETCH(QString, rootSuffix);
        const QString iniFile = dir_.filePath(QStringLiteral("suite/HALVEX/SYSTEM/HALVEX.INI"));
        writeFile(iniFile, "[System]\r\nServer=(embedded)\r\nUser=\r\n");
        const Registry registry(registryNaming(dir_.path() + rootSuffix), QString());
        IHalvexINI reader(registry);
        QCOMPARE(reader.HalvexINI(), iniFile);
        QCOMPARE(reader.GetItem(QStringLiteral("system"), QStringLiteral("SERVER")),
                 QStringLiteral("(embedded)"));
        QCOMPARE(reader.GetItem(QStringLiteral("System"), QStringLiteral("User")), QString());
        writeFile(iniFile, "[System]\nUser=changed\n");
        QCOMPARE(reader.GetItem(QStringLiteral("System"), QStringLiteral("User")),
                 QStringLiteral("changed"));

        const QString other = dir_.filePath(QStringLiteral("other.ini"));
        writeFile(other, "[System]\nUser=other\n");
        reader.setHalvexINI(QString(other).replace(u'/', u'\\'));
        QCOMPARE(reader.GetItem(QStringLiteral("System"), QStringLiteral("User")),
                 QStringLiteral("other"));
    }

    // The default file must exist even when another one is to be used.
    void missingFileFails_data() {
        QTest::addColumn<bool>("rootRegistered");
        QTest::newRow("root without the file") << true;
        QTest::newRow("no root in the registry") << false;
    }

    void missingFileFails() {
        QFETCH(bool, rootRegistered);
        const QString root = dir_.filePath(QStringLiteral("empty"));
        const Registry registry(rootRegistered ? registryNaming(root) : QString(), QString());
        const QString expectedPath = rootRegistered
                                         ? root + QStringLiteral("/HALVEX/SYSTEM/HALVEX.INI")
                                         : QStringLiteral("/HALVEX/SYSTEM/HALVEX.INI");
        try {
            const IHalvexINI reader(registry);
            QFAIL("a reader was created without its file");
        } catch (const ShellError& error) {
            QCOMPARE(error.number(), -2147211503);
            QCOMPARE(error.source(), QStringLiteral("IHalveiINI"));
            QCOMPARE(error.description(),
                     QStringLiteral("The ") + expectedPath +
                         QStringLiteral(" file could not be found. Please contact the vendor "
                                        "of this application for more information."));
        }
    }
};

VELORA_TEST(TestIHalvexINI)
#include "TestIHalvexINI.moc"
