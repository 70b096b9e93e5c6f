#include "common/TestMain.h"
#include "detail/DayChangeMask.h"
#include "detail/NumberText.h"
#include "suite/HXRegion.h"

#include <QTest>

using namespace velora;
using namespace velora::detail;

Q_DECLARE_METATYPE(velora::detail::DayRecord)

namespace {

DayRecord day(float reports = 0, float hours = 0, float chars = 0, float lines = 0,
              float iHours = 0, float iTyped = 0, float iPay = 0) {
    DayRecord record;
    record.TransID = QStringLiteral("o'neil");
    record.AccountID = 10;
    record.ShiftDate = QDate(2012, 11, 5);
    record.Editable = true;
    record.Stored = true;
    const float values[] = {reports, hours, chars, lines, iHours, iTyped, iPay};
    for (std::size_t i = 0; i < 7; ++i)
        record.values[i] = {values[i], values[i]};
    return record;
}

DayCellTexts cells(const QStringList& texts) {
    DayCellTexts result;
    for (std::size_t i = 0; i < 7; ++i)
        result[i] = texts.at(static_cast<qsizetype>(i));
    return result;
}

const QStringList kZeros = {"0", "0", "0", "0", "0.00", "0.00", "0.00"};
const QStringList kAll = {"1", "2", "3", "4", "5.00", "6.00", "7.00"};

} // namespace

// The change mask and the number forms of the grid.
class TestWeekStatements : public QObject {
    Q_OBJECT

    const suite::HXRegion us_{QLocale(QStringLiteral("en_US"))};

private Q_SLOTS:
    void mask_data() {
        QTest::addColumn<DayRecord>("record");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("mask");
        QTest::newRow("nothing changed") << day() << kZeros << 0;
        QTest::newRow("below half a hundredth")
            << day(0, 5) << QStringList{"0", "5.004", "0", "0", "0.00", "0.00", "0.00"} << 0;
        QTest::newRow("a hundredth")
            << day(0, 5) << QStringList{"0", "5.01", "0", "0", "0.00", "0.00", "0.00"} << 64;
        QTest::newRow("every kind") << day() << kAll << 254;
        // The grid shows 0.285 as 0.29; in single precision it lies just below 0.285, yet the
        // untouched cell is no change.
        QTest::newRow("half a hundredth as shown")
            << day(0, 0, 0, 0, 0, 0, 0.285f)
            << QStringList{"0", "0", "0", "0", "0.00", "0.00", "0.29"} << 0;
        QTest::newRow("tiny negative is zero")
            << day() << QStringList{"0", "0", "0", "0", "0.00", "0.00", "-0.001"} << 0;
        DayRecord locked = day();
        locked.Editable = false;
        QTest::newRow("not editable") << locked << kAll << 0;
        DayRecord neverFilled = day();
        neverFilled.ShiftDate = QDate(1900, 1, 1);
        QTest::newRow("never filled") << neverFilled << kAll << 0;
    }
    void mask() {
        QFETCH(DayRecord, record);
        QFETCH(QStringList, texts);
        QFETCH(int, mask);
        QCOMPARE(DayChangeMask::of(record, cells(texts), us_), mask);
    }

    // Cells take the regional decimal separator (grouping is refused, see the saver's tests).
    void maskReadsTheRegionalForm() {
        const suite::HXRegion german{QLocale(QStringLiteral("de_DE"))};
        const QStringList texts = {"0", "7,5", "1234", "0", "0,00", "0,00", "5,01"};
        QCOMPARE(DayChangeMask::of(day(0, 7.5f, 1234, 0, 0, 0, 5), cells(texts), german), 2);
    }

    void numberForms_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("fixed");
        QTest::addColumn<QString>("plain");
        QTest::newRow("decimal half rounds up") << 1.115 << "1.12"
                                                << "1.115";
        QTest::newRow("tiny negative") << -0.001 << "0.00"
                                       << "-0.001";
        QTest::newRow("carry") << 9.996 << "10.00"
                               << "9.996";
        QTest::newRow("largest the grid shows") << 9999999.99 << "9999999.99"
                                                << "9999999.99";
        QTest::newRow("single precision") << double(7.1f) << "7.10"
                                          << "7.09999990463257";
    }
    void numberForms() {
        QFETCH(double, value);
        QFETCH(QString, fixed);
        QFETCH(QString, plain);
        QCOMPARE(NumberText().fixed(value), fixed);
        QCOMPARE(NumberText().plain(value), plain);
        QCOMPARE(NumberText(QStringLiteral(",")).fixed(value), QString(fixed).replace('.', ','));
    }
};

VELORA_TEST(TestWeekStatements)
#include "TestWeekStatements.moc"
