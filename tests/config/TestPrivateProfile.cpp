#include "common/TestMain.h"
#include "config/PrivateProfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using velora::config::PrivateProfile;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

class TestPrivateProfile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(dir_.isValid()); }

    void lookup_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        const QByteArray system = "[System]\nServer=(embedded)\nUser=sa\n";
        QTest::newRow("plain") << system << "System"
                               << "Server"
                               << "(embedded)";
        QTest::newRow("names without case") << system << "SYSTEM"
                                            << "server"
                                            << "(embedded)";
        QTest::newRow("missing key") << system << "System"
                                     << "Password"
                                     << "";
        QTest::newRow("missing section") << system << "Other"
                                         << "Server"
                                         << "";
        QTest::newRow("blanks around names and value")
            << QByteArray("  [ System ]  \n  User  =  jo smith  \n") << "System"
            << "User"
            << "jo smith";
        QTest::newRow("CRLF") << QByteArray("[System]\r\nUser=jo\r\nServer=db\r\n") << "System"
                              << "User"
                              << "jo";
        QTest::newRow("empty value") << QByteArray("[System]\nPassword=\n") << "System"
                                     << "Password"
                                     << "";
        QTest::newRow("comment line")
            << QByteArray("[System]\n;Password=old\n  ; User=x\n") << "System"
            << "Password"
            << "";
        QTest::newRow("semicolon inside value kept")
            << QByteArray("[System]\nUser=jo ; not a comment\n") << "System"
            << "User"
            << "jo ; not a comment";
        QTest::newRow("key of another section")
            << QByteArray("[Other]\nUser=x\n[System]\nServer=y\n") << "System"
            << "User"
            << "";
        QTest::newRow("key before any section") << QByteArray("User=x\n[System]\n") << "System"
                                                << "User"
                                                << "";
        QTest::newRow("equals inside value") << QByteArray("[System]\nConn=a=b;c=d\n") << "System"
                                             << "Conn"
                                             << "a=b;c=d";
        QTest::newRow("backslashes and commas kept")
            << QByteArray("[System]\nPath=C:\\a\\b, c\n") << "System"
            << "Path"
            << "C:\\a\\b, c";
        QTest::newRow("double quotes removed")
            << QByteArray("[System]\nUser=\" jo \"\n") << "System"
            << "User"
            << " jo ";
        QTest::newRow("single quotes removed") << QByteArray("[System]\nUser='jo'\n") << "System"
                                               << "User"
                                               << "jo";
        QTest::newRow("unmatched quote kept") << QByteArray("[System]\nUser=\"jo'\n") << "System"
                                              << "User"
                                              << "\"jo'";
        QTest::newRow("first of duplicated keys")
            << QByteArray("[System]\nUser=a\nuser=b\n") << "System"
            << "User"
            << "a";
        QTest::newRow("only the first of duplicated sections")
            << QByteArray("[System]\nUser=a\n[system]\nServer=b\n") << "System"
            << "Server"
            << "";
        QTest::newRow("UTF-8 with byte-order mark")
            << QByteArray("\xEF\xBB\xBF[System]\nUser=J\xC3\xB6rg\n") << "System"
            << "User" << QStringLiteral("J\u00F6rg");
        QTest::newRow("Latin-1 file") << QByteArray("[System]\nUser=J\xF6rg\n") << "System"
                                      << "User" << QStringLiteral("J\u00F6rg");
        QTest::newRow("no final line break") << QByteArray("[System]\nUser=jo") << "System"
                                             << "User"
                                             << "jo";
        QTest::newRow("line without equals ignored")
            << QByteArray("[System]\nUser\nUser=jo\n") << "System"
            << "User"
            << "jo";
        QTest::newRow("255 characters kept")
            << QByteArray("[S]\nK=" + QByteArray(255, 'v') + "\n") << "S"
            << "K" << QString(255, u'v');
        QTest::newRow("longer values cut to 255")
            << QByteArray("[S]\nK=" + QByteArray(300, 'v') + "\n") << "S"
            << "K" << QString(255, u'v');
    }

    void lookup() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const QString path = dir_.filePath(QStringLiteral("HALVEX.INI"));
        writeFile(path, contents);
        QCOMPARE(PrivateProfile::getString(path, section, key), expected);
    }

    void missingFileReadsEmpty() {
        QCOMPARE(PrivateProfile::getString(dir_.filePath(QStringLiteral("none.ini")),
                                           QStringLiteral("System"), QStringLiteral("User")),
                 QString());
    }

    void fileIsReadAnewEachTime() {
        const QString path = dir_.filePath(QStringLiteral("HALVEX.INI"));
        writeFile(path, "[System]\nUser=first\n");
        QCOMPARE(PrivateProfile::getString(path, QStringLiteral("System"), QStringLiteral("User")),
                 QStringLiteral("first"));
        writeFile(path, "[System]\nUser=second\n");
        QCOMPARE(PrivateProfile::getString(path, QStringLiteral("System"), QStringLiteral("User")),
                 QStringLiteral("second"));
    }

private:
    QTemporaryDir dir_;
};

VELORA_TEST(TestPrivateProfile)
#include "TestPrivateProfile.moc"
