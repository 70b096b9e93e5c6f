#include "common/TestMain.h"
#include "common/TextConversion.h"

#include <QTest>

using namespace velora::common;

namespace {
constexpr int kOk = 0;
constexpr int kOverflow = ConversionErrorNumber::Overflow;
constexpr int kMismatch = ConversionErrorNumber::TypeMismatch;

template <typename Convert> int errorOf(Convert convert) {
    try {
        convert();
        return kOk;
    } catch (const ConversionError& e) {
        return e.number();
    }
}
} // namespace

class TestTextConversion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void integer_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("error");
        QTest::newRow("plain") << "9540" << 9540 << kOk;
        QTest::newRow("negative") << "-1" << -1 << kOk;
        QTest::newRow("plus sign") << "+12" << 12 << kOk;
        QTest::newRow("blanks") << "  42 " << 42 << kOk;
        QTest::newRow("lowest") << "-32768" << -32768 << kOk;
        QTest::newRow("highest") << "32767" << 32767 << kOk;
        QTest::newRow("half down to even") << "2.5" << 2 << kOk;
        QTest::newRow("half up to even") << "3.5" << 4 << kOk;
        QTest::newRow("fraction") << "7.6" << 8 << kOk;
        QTest::newRow("leading point") << ".5" << 0 << kOk;
        QTest::newRow("exponent") << "1E3" << 1000 << kOk;
        QTest::newRow("tiny exponent") << "1e-999" << 0 << kOk;
        QTest::newRow("one above") << "32768" << 0 << kOverflow;
        QTest::newRow("one below") << "-32769" << 0 << kOverflow;
        QTest::newRow("rounds out of range") << "32767.5" << 0 << kOverflow;
        QTest::newRow("huge exponent") << "1e999" << 0 << kOverflow;
        QTest::newRow("empty") << "" << 0 << kMismatch;
        QTest::newRow("blank") << "  " << 0 << kMismatch;
        QTest::newRow("letters") << "abc" << 0 << kMismatch;
        QTest::newRow("trailing letters") << "12px" << 0 << kMismatch;
        QTest::newRow("decimal comma") << "1,5" << 0 << kMismatch;
        QTest::newRow("infinity") << "inf" << 0 << kMismatch;
        QTest::newRow("inner blank") << "1 2" << 0 << kMismatch;
    }

    void integer() {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QFETCH(int, error);
        qint16 value = 0;
        QCOMPARE(errorOf([&] { value = textToInteger(text); }), error);
        QCOMPARE(int(value), expected);
    }

    void byte_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("error");
        QTest::newRow("zero") << "0" << 0 << kOk;
        QTest::newRow("highest") << "255" << 255 << kOk;
        QTest::newRow("rounded") << "254.5" << 254 << kOk;
        QTest::newRow("above") << "256" << 0 << kOverflow;
        QTest::newRow("negative") << "-1" << 0 << kOverflow;
        QTest::newRow("beyond 16 bits") << "40000" << 0 << kOverflow;
        QTest::newRow("text") << "True" << 0 << kMismatch;
    }

    void byte() {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QFETCH(int, error);
        quint8 value = 0;
        QCOMPARE(errorOf([&] { value = textToByte(text); }), error);
        QCOMPARE(int(value), expected);
    }

    void boolean_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<int>("error");
        QTest::newRow("True") << "True" << true << kOk;
        QTest::newRow("False") << "False" << false << kOk;
        QTest::newRow("upper case") << "TRUE" << true << kOk;
        QTest::newRow("lower case false") << "false" << false << kOk;
        QTest::newRow("blanks") << " True " << true << kOk;
        QTest::newRow("one") << "1" << true << kOk;
        QTest::newRow("zero") << "0" << false << kOk;
        QTest::newRow("minus one") << "-1" << true << kOk;
        QTest::newRow("fraction") << "0.5" << true << kOk;
        QTest::newRow("zero fraction") << "0.0" << false << kOk;
        QTest::newRow("beyond 16 bits") << "100000" << true << kOk;
        QTest::newRow("letters") << "abc" << false << kMismatch;
        QTest::newRow("yes") << "Yes" << false << kMismatch;
        QTest::newRow("empty") << "" << false << kMismatch;
    }

    void boolean() {
        QFETCH(QString, text);
        QFETCH(bool, expected);
        QFETCH(int, error);
        bool value = false;
        QCOMPARE(errorOf([&] { value = textToBoolean(text); }), error);
        QCOMPARE(value, expected);
    }

    void errorTexts() {
        try {
            textToInteger(QStringLiteral("x"));
            QFAIL("no error");
        } catch (const ConversionError& e) {
            QCOMPARE(e.description(), QStringLiteral("Type mismatch"));
        }
        try {
            textToInteger(QStringLiteral("99999"));
            QFAIL("no error");
        } catch (const ConversionError& e) {
            QCOMPARE(e.description(), QStringLiteral("Overflow"));
        }
    }

    void single_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole") << 9540.0f << "9540";
        QTest::newRow("negative") << -1.0f << "-1";
        QTest::newRow("zero") << 0.0f << "0";
        QTest::newRow("negative zero") << -0.0f << "0";
        QTest::newRow("half") << 1282.5f << "1282.5";
        QTest::newRow("seven digits") << 1234.5678f << "1234.568";
        QTest::newRow("fraction below one") << 0.25f << "0.25";
        QTest::newRow("large") << 12345678.0f << "1.234568E+07";
    }

    void single() {
        QFETCH(float, value);
        QFETCH(QString, expected);
        QCOMPARE(singleToText(value), expected);
    }
};

VELORA_TEST(TestTextConversion)
#include "TestTextConversion.moc"
