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
    void unscramble_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");

        // With key 0x5A: 'a' at 0 -> 0x3B, 'b' at 1 -> (0x62 ^ 0x5A) + 2 = 0x3A; stored reversed.
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("two characters") << "3A3B"
                                        << "ab";
        QTest::newRow("lower-case digits") << "3a3b"
                                           << "ab";
        QTest::newRow("zero character ends the text") << "5E3A3B"
                                                      << "ab";
        QTest::newRow("bytes after the end are not checked") << "005E3A3B"
                                                             << "ab";
        QTest::newRow("only the end marker") << "5A"
                                             << "";
        QTest::newRow("character outside a byte") << "003B"
                                                  << "003B";
        QTest::newRow("odd length") << "3A3B4"
                                    << "3A3B4";
        QTest::newRow("not hexadecimal") << "secret"
                                         << "secret";
        QTest::newRow("non-hexadecimal pair after the end marker") << "ZZ5A"
                                                                   << "ZZ5A";
        QTest::newRow("high Latin-1 character") << "A5" << QStringLiteral("\u00FF");
    }

    void unscramble() {
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        QCOMPARE(UnencryptedText(stored), expected);
    }

    void roundTrip_data() {
        QTest::addColumn<QString>("plain");
        QTest::newRow("empty") << "";
        QTest::newRow("one character") << "x";
        QTest::newRow("the key's own character") << "Z";
        QTest::newRow("typical") << "Velora-2024!";
        QTest::newRow("blanks and punctuation") << " pa ss;=/\"\\ ";
        QTest::newRow("Latin-1") << QStringLiteral("p\u00E4ssw\u00F6rd\u00FF");
        QTest::newRow("long") << QString(60, u'a');
    }

    void roundTrip() {
        QFETCH(QString, plain);
        const QString stored = ScrambledText(plain);
        QCOMPARE(stored.size(), plain.size() * 2);
        QCOMPARE(UnencryptedText(stored), plain);
    }

    void scramblingRefusesWhatCannotBeStored_data() {
        QTest::addColumn<QString>("plain");
        QTest::newRow("zero character") << QStringLiteral("a") + QChar(0) + QStringLiteral("b");
        QTest::newRow("beyond Latin-1") << QStringLiteral("\u0161ifra");
        QTest::newRow("too long for a byte") << QString(200, u'a');
    }

    void scramblingRefusesWhatCannotBeStored() {
        QFETCH(QString, plain);
        try {
            ScrambledText(plain);
            QFAIL("ScrambledText accepted a password it cannot store");
        } catch (const ConfigError& error) {
            QCOMPARE(error.number(), ConfigError::kInvalidArgument);
            QVERIFY(!error.description().isEmpty());
        }
    }
};

VELORA_TEST(TestPasswordScrambling)
#include "TestPasswordScrambling.moc"
