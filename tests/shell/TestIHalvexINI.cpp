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

QByteArray registryNaming(const QString& root) {
    return "[Software\\Norvane and Company\\Quillset 2.0 for Windows\\2.0\\]\nLocalRootDir=" +
           root.toUtf8() + "\n";
}

} // namespace

class TestIHalvexINI : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        registryFile_ = dir_->filePath(QStringLiteral("registry.ini"));
        iniFile_ = dir_->filePath(QStringLiteral("suite/HALVEX/SYSTEM/HALVEX.INI"));
    }

    void findsTheFileBelowTheRoot_data() {
        QTest::addColumn<QString>("rootSuffix");
        QTest::newRow("no trailing separator") << "/suite";
        QTest::newRow("trailing slash") << "/suite/";
        QTest::newRow("trailing backslash") << "/suite\\";
    }

    void findsTheFileBelowTheRoot() {
        QFETCH(QString, rootSuffix);
        writeFile(registryFile_, registryNaming(dir_->path() + rootSuffix));
        writeFile(iniFile_, "[System]\r\nServer=(embedded)\r\nUser=\r\n");
        const Registry registry(registryFile_, registryFile_);

        const IHalvexINI reader(registry);
        QCOMPARE(reader.HalvexINI(), iniFile_);
        QCOMPARE(reader.GetItem(QStringLiteral("system"), QStringLiteral("SERVER")),
                 QStringLiteral("(embedded)"));
        QCOMPARE(reader.GetItem(QStringLiteral("System"), QStringLiteral("User")), QString());
        QCOMPARE(reader.GetItem(QStringLiteral("System"), QStringLiteral("Password")), QString());
    }

    void missingFileFails_data() {
        QTest::addColumn<bool>("rootRegistered");
        QTest::newRow("root without the file") << true;
        QTest::newRow("no root in the registry") << false;
    }

    void missingFileFails() {
        QFETCH(bool, rootRegistered);
        const QString root = dir_->filePath(QStringLiteral("suite"));
        if (rootRegistered)
            writeFile(registryFile_, registryNaming(root));
        const Registry registry(registryFile_, registryFile_);
        const QString expectedPath =
            rootRegistered ? iniFile_ : QStringLiteral("/HALVEX/SYSTEM/HALVEX.INI");
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

    void pathCanBeReplaced() {
        writeFile(registryFile_, registryNaming(dir_->filePath(QStringLiteral("suite"))));
        writeFile(iniFile_, "[System]\nUser=default\n");
        const QString other = dir_->filePath(QStringLiteral("other.ini"));
        writeFile(other, "[System]\nUser=other\n");
        const Registry registry(registryFile_, registryFile_);

        IHalvexINI reader(registry);
        reader.setHalvexINI(other);
        QCOMPARE(reader.HalvexINI(), other);
        QCOMPARE(reader.GetItem(QStringLiteral("System"), QStringLiteral("User")),
                 QStringLiteral("other"));
        // A path written with backslashes, as the suite's launcher passes it, still opens.
        reader.setHalvexINI(QString(other).replace(u'/', u'\\'));
        QCOMPARE(reader.GetItem(QStringLiteral("System"), QStringLiteral("User")),
                 QStringLiteral("other"));
        reader.setHalvexINI(dir_->filePath(QStringLiteral("none.ini")));
        QCOMPARE(reader.GetItem(QStringLiteral("System"), QStringLiteral("User")), QString());
    }

    void valuesAreNotCached() {
        writeFile(registryFile_, registryNaming(dir_->filePath(QStringLiteral("suite"))));
        writeFile(iniFile_, "[System]\nSupportDeletedReports=N\n");
        const Registry registry(registryFile_, registryFile_);
        const IHalvexINI reader(registry);
        const QString key = QStringLiteral("SupportDeletedReports");
        QCOMPARE(reader.GetItem(QStringLiteral("System"), key), QStringLiteral("N"));
        writeFile(iniFile_, "[System]\nSupportDeletedReports=Y\n");
        QCOMPARE(reader.GetItem(QStringLiteral("System"), key), QStringLiteral("Y"));
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString registryFile_;
    QString iniFile_;
};

VELORA_TEST(TestIHalvexINI)
#include "TestIHalvexINI.moc"
