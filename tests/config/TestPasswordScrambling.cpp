#include "common/TestMain.h"
#include "config/ConfigError.h"
#include "config/PasswordScrambling.h"

#include <QTest>

using velora::config::ConfigError;
using velora::config::ScrambledText;
using velora::config::UnencryptedText;

class TestPasswordScrambling : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // With key 0x5A: 'a' at 0 -> 0x3B, 'b' at 1 -> (0x62 ^ 0x5A) + 2 = 0x3A; stored reversed.
    // A text that does not unscramble is taken as it stands.
    void unscramble_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");
        const QList<QPair<const char*, QString>> rows{
            {"", ""},           {"3A3B", "ab"},
            {"3a3b", "ab"},     {"005E3A3B", "ab"},
            {"5A", ""},         {"003B", "003B"},
            {"3A3B4", "3A3B4"}, {"secret", "secret"},
            {"ZZ5A", "ZZ5A"},   {"A5", QStringLiteral("\u00FF")}};
        for (const auto& [stored, expected] : rows)
            QTest::newRow(stored) << QString::fromLatin1(stored) << expected;
    }

    void unscramble() {
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        QCOMPARE(UnencryptedText(stored), expected);
    }

    void roundTripOrRefusal_data() {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<bool>("storable");
        QTest::newRow("empty") << "" << true;
        QTest::newRow("the key's own character") << "Z" << true;
        QTest::newRow("blanks and punctuation") << " pa ss;=/\"\\ " << true;
        QTest::newRow("Latin-1") << QStringLiteral("p\u00E4ssw\u00F6rd\u00FF") << true;
        QTest::newRow("long") << QString(60, u'a') << true;
        QTest::newRow("zero character")
            << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << false;
        QTest::newRow("beyond Latin-1") << QStringLiteral("\u0161ifra") << false;
        QTest::newRow("too long for a byte") << QString(200, u'a') << false;
    }

    void roundTripOrRefusal() {
        QFETCH(QString, plain);
        QFETCH(bool, storable);
        try {
            const QString stored = ScrambledText(plain);
            QVERIFY(storable);
            QCOMPARE(stored.size(), plain.size() * 2);
            QCOMPARE(UnencryptedText(stored), plain);
        } catch (const ConfigError& error) {
            QVERIFY(!storable);
            QCOMPARE(error.number(), ConfigError::kInvalidArgument);
        }
    }
};

VELORA_TEST(TestPasswordScrambling)
#include "TestPasswordScrambling.moc"
