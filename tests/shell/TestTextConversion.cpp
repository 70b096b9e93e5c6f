#include "common/AffermativeValue.h"
#include "common/TestMain.h"
#include "common/TextConversion.h"

#include <QTest>

using namespace velora::common;

namespace {

constexpr int kOverflow = ConversionErrorNumber::Overflow;
constexpr int kMismatch = ConversionErrorNumber::TypeMismatch;

// The converted value as text, or "error <number>".
template <typename Convert> QString outcome(Convert convert) {
    try {
        return QString::number(convert());
    } catch (const ConversionError& e) {
        return QStringLiteral("error %1").arg(e.number());
    }
}

} // namespace

// How stored preference texts become numbers and flags, and how a flag of the configuration
// is read.
class TestTextConversion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void conversions_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("integer");
        QTest::addColumn<QString>("byte");
        QTest::addColumn<QString>("boolean");
        const QString overflow = QStringLiteral("error %1").arg(kOverflow);
        const QString mismatch = QStringLiteral("error %1").arg(kMismatch);
        QTest::newRow("plain") << "9540"
                               << "9540" << overflow << "1";
        QTest::newRow("blanks and sign") << " +12 "
                                         << "12"
                                         << "12"
                                         << "1";
        QTest::newRow("edges") << "-32768"
                               << "-32768" << overflow << "1";
        QTest::newRow("halves to even") << "254.5"
                                        << "254"
                                        << "254"
                                        << "1";
        QTest::newRow("exponent") << "1E3"
                                  << "1000" << overflow << "1";
        QTest::newRow("tiny exponent") << "1e-999"
                                       << "0"
                                       << "0"
                                       << "0";
        QTest::newRow("rounds out of range") << "32767.5" << overflow << overflow << "1";
        QTest::newRow("beyond 16 bits") << "100000" << overflow << overflow << "1";
        QTest::newRow("True") << " TRUE " << mismatch << mismatch << "1";
        QTest::newRow("empty") << "" << mismatch << mismatch << mismatch;
        QTest::newRow("trailing letters") << "12px" << mismatch << mismatch << mismatch;
        QTest::newRow("decimal comma") << "1,5" << mismatch << mismatch << mismatch;
    }

    void conversions() {
        QFETCH(QString, text);
        QFETCH(QString, integer);
        QFETCH(QString, byte);
        QFETCH(QString, boolean);
        QCOMPARE(outcome([&] { return textToInteger(text); }), integer);
        QCOMPARE(outcome([&] { return textToByte(text); }), byte);
        QCOMPARE(outcome([&] { return int(textToBoolean(text)); }), boolean);
    }

    void affirmativeValue() {
        for (const char* yes : {"Y", "YES", "ENABLE", "ENABLED", "TRUE", "ON", " eNaBlEd ", "on"})
            QVERIFY2(AffermativeValue(QLatin1String(yes)), yes);
        for (const char* no : {"", "N", "FALSE", "1", "YE", "YESS", "Y ES"})
            QVERIFY2(!AffermativeValue(QLatin1String(no)), no);
    }
};

VELORA_TEST(TestTextConversion)
#include "TestTextConversion.moc"
