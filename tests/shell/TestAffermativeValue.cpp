#include "common/AffermativeValue.h"
#include "common/TestMain.h"

#include <QTest>

using velora::common::AffermativeValue;

class TestAffermativeValue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void affirmative_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");
        for (const char* yes : {"Y", "YES", "ENABLE", "ENABLED", "TRUE", "ON"})
            QTest::newRow(yes) << QString::fromLatin1(yes) << true;
        QTest::newRow("lower case") << "yes" << true;
        QTest::newRow("mixed case") << "eNaBlEd" << true;
        QTest::newRow("blanks around") << "  on  " << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("N") << "N" << false;
        QTest::newRow("FALSE") << "FALSE" << false;
        QTest::newRow("number one") << "1" << false;
        QTest::newRow("prefix only") << "YE" << false;
        QTest::newRow("longer word") << "YESS" << false;
        QTest::newRow("inner blank") << "Y ES" << false;
    }

    void affirmative() {
        QFETCH(QString, text);
        QFETCH(bool, expected);
        QCOMPARE(AffermativeValue(text), expected);
    }
};

VELORA_TEST(TestAffermativeValue)
#include "TestAffermativeValue.moc"
