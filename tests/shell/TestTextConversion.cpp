#include "common/AffermativeValue.h"
#include "common/TestMain.h"
#include "common/TextConversion.h"

#include <QTest>

using namespace velora::common;
using namespace Qt::StringLiterals;

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
        // clang-format off
        QTest::newRow("plain") << u"9540"_s << u"9540"_s << overflow << u"1"_s;
        QTest::newRow("blanks and sign") << u" +12 "_s << u"12"_s << u"12"_s << u"1"_s;
        QTest::newRow("edges") << u"-32768"_s << u"-32768"_s << overflow << u"1"_s;
        QTest::newRow("halves to even") << u"254.5"_s << u"254"_s << u"254"_s << u"1"_s;
        QTest::newRow("exponent") << u"1E3"_s << u"1000"_s << overflow << u"1"_s;
        QTest::newRow("tiny exponent") << u"1e-999"_s << u"0"_s << u"0"_s << u"0"_s;
        QTest::newRow("rounds out of range") << u"32767.5"_s << overflow << overflow << u"1"_s;
        QTest::newRow("beyond 16 bits") << u"100000"_s << overflow << overflow << u"1"_s;
        QTest::newRow("True") << u" TRUE "_s << mismatch << mismatch << u"1"_s;
        QTest::newRow("empty") << u""_s << mismatch << mismatch << mismatch;
        QTest::newRow("trailing letters") << u"12px"_s << mismatch << mismatch << mismatch;
        QTest::newRow("decimal comma") << u"1,5"_s << mismatch << mismatch << mismatch;
        // clang-format on
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
