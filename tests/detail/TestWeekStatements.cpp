#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "detail/DayChangeMask.h"
#include "detail/NumberText.h"
#include "detail/PeriodTotalStatements.h"
#include "detail/SaveWeekStatements.h"
#include "detail/WeekStatements.h"
#include "suite/HXRegion.h"
#include "suite/SuiteError.h"

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

// The columns of the first Trans_incentive row, joined by "/".
QString firstRow(test::TestDatabase& db, const QString& columns) {
    db::Recordset rs = db.connection().openRecordset(QStringLiteral("SELECT ") + columns +
                                                     QStringLiteral(" FROM Trans_incentive"));
    QStringList values;
    for (int i = 0; !rs.eof() && i < rs.fieldCount(); ++i)
        values << rs.value(i).toString();
    return values.join(QLatin1Char('/'));
}

const QStringList kZeros = {"0", "0", "0", "0", "0.00", "0.00", "0.00"};
const QStringList kAll = {"1", "2", "3", "4", "5.00", "6.00", "7.00"};

} // namespace

// The grid's statements run on the embedded engine, the change mask, and the number forms.
class TestWeekStatements : public QObject {
    Q_OBJECT

    const suite::HXRegion us_{QLocale(QStringLiteral("en_US"))};

private Q_SLOTS:
    // Every read statement of a week runs and returns the columns the grid shows, with sums
    // over the right rows.
    void everyReadStatementRuns_data() {
        QTest::addColumn<QString>("account");
        QTest::addColumn<int>("hourMode");
        for (int mode : {1, 2}) {
            for (const char* account : {"10", "-2"})
                QTest::addRow("account %s, hour mode %d", account, mode)
                    << QString::fromLatin1(account) << mode;
        }
    }
    void everyReadStatementRuns() {
        QFETCH(QString, account);
        QFETCH(int, hourMode);
        test::TestDatabase db;
        db.exec(QStringLiteral(
            "INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, chars_modified, "
            "incent_hours_typed_modified) VALUES ('o''neil', 10, '2012-11-05', 100, 2), "
            "('o''neil', 11, '2012-11-05', 50, 3), ('o''neil', 10, '2012-11-01', 7, 1), "
            "('other', 10, '2012-11-05', 1000, 9)"));
        db.exec(QStringLiteral("INSERT INTO Trans_activity (trans_id, shift_date, activity_time, "
                               "work_type, update_type) VALUES ('o''neil', '2012-11-05', 5400, "
                               "1, 9)"));
        const QString user = QStringLiteral("o'neil");
        const QDate start(2012, 11, 4);
        const double chars = account == QLatin1String("-2") ? 150.0 : 100.0;
        db::Recordset days =
            db.connection().openRecordset(WeekStatements::days(user, account, start, hourMode));
        QCOMPARE(days.date(QStringLiteral("shift_date")), QDate(2012, 11, 5));
        QCOMPARE(days.value(QStringLiteral("num_chars")).toDouble(), chars);
        QCOMPARE(days.value(QStringLiteral("num_incent_hours")).toDouble(),
                 hourMode == 1 ? 1.5 : 0.0);
        for (TotalPeriod period :
             {TotalPeriod::Week, TotalPeriod::BiWeek, TotalPeriod::Month, TotalPeriod::Year}) {
            db::Recordset totals = db.connection().openRecordset(
                PeriodTotalStatements::statement(period, user, account, start, hourMode));
            for (const char* column : {"TOTAL_IHOURS_TYPED", "TOTAL_IPAY", "TOTAL_ITYPED",
                                       "TOTAL_LINES", "TOTAL_REPORTS"})
                QVERIFY2(totals.fieldIndex(QString::fromLatin1(column)) >= 0, column);
            // The week before (bi-week), the month and the year also hold the 1 November row.
            QCOMPARE(totals.value(QStringLiteral("TOTAL_CHARS")).toDouble(),
                     chars + (period == TotalPeriod::Week ? 0.0 : 7.0));
            QCOMPARE(totals.value(QStringLiteral("TOTAL_HOURS")).toDouble(),
                     hourMode == 1 ? 1.5 : 0.0);
        }
        QCOMPARE(db.scalar(WeekStatements::activityHours(user, QDate(2012, 11, 5))).toDouble(),
                 1.5);
        QCOMPARE(db.scalar(WeekStatements::lastLockedDate()), QStringLiteral("1980-01-01"));
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError,
                                 WeekStatements::days(user, "10 OR 1=1", start, hourMode));
    }

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
        QTest::newRow("reports and pay")
            << day(3, 0, 0, 0, 0, 0, 10.5f)
            << QStringList{"4", "0", "0", "0", "0.00", "0.00", "10.49"} << (128 | 2);
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

    // Cells take the regional decimal separator and refuse any grouping.
    void maskReadsTheRegionalForm() {
        const suite::HXRegion german{QLocale(QStringLiteral("de_DE"))};
        const QStringList texts = {"0", "7,5", "1234", "0", "0,00", "0,00", "5,01"};
        QCOMPARE(DayChangeMask::of(day(0, 7.5f, 1234, 0, 0, 0, 5), cells(texts), german), 2);
        for (const char* refused : {"1.234", "1,2,3", "", "12a"}) {
            QStringList bad = texts;
            bad[2] = QString::fromLatin1(refused);
            QVERIFY_THROWS_EXCEPTION(suite::SuiteError,
                                     DayChangeMask::of(day(), cells(bad), german));
        }
    }

    // The UPDATE lists only the changed columns, in the fixed order; each statement lands in
    // the right columns of the right row.
    void saveStatementsWriteTheRightColumns() {
        const SaveWeekStatements modeTwo(us_, 2);
        const DayCellTexts typed = cells({"7", "8.5", "100", "90", "1.25", "2.50", "12.50"});
        QCOMPARE(modeTwo.update(day(), 128 | 8 | 2, typed),
                 QStringLiteral("UPDATE trans_incentive SET number_rpts_modified = 7, "
                                "incent_hours_typed_modified = 1.25, incent_pay_modified = 12.50 "
                                "WHERE trans_id = 'o''neil' AND hosp_acct_id = 10 AND shift_date "
                                "= '2012-11-05'"));
        test::TestDatabase db;
        db.exec(modeTwo.insert(day(), typed));
        QCOMPARE(firstRow(db, QStringLiteral("number_rpts_modified, hours_typed_modified, "
                                             "chars_modified, lines_modified, incent_pay_modified, "
                                             "number_rpts, trans_id, shift_date")),
                 QStringLiteral("7/8.5/100/90/0/0/o'neil/2012-11-05"));
        db.exec(modeTwo.update(day(), 8 | 2, typed));
        QCOMPARE(firstRow(db, QStringLiteral("number_rpts_modified, incent_hours_typed_modified, "
                                             "incent_typed_modified, incent_pay_modified")),
                 QStringLiteral("7/1.25/0/12.5"));
    }

    // Hour mode 1 never writes the typed hours: a new row leaves them out, and a changed day
    // refreshes the four hours columns from the activity log.
    void hourModeOneTakesHoursFromTheActivityLog() {
        test::TestDatabase db;
        const QString insert =
            QStringLiteral("INSERT INTO Trans_activity (trans_id, shift_date, activity_time, "
                           "work_type, update_type, count_activity) VALUES ('o''neil', "
                           "'2012-11-05', %1, %2, %3, %4)");
        db.exec(insert.arg(27000).arg(1).arg(9).arg(1)); // counted system time 7.5 h
        db.exec(insert.arg(1800).arg(1).arg(0).arg(1));  // collected, not edited 0.5 h
        db.exec(insert.arg(3600).arg(1).arg(6).arg(1));  // left out
        db.exec(insert.arg(900).arg(1).arg(0).arg(0));   // not counted
        db.exec(insert.arg(5400).arg(2).arg(9).arg(1));  // other work 1.5 h
        const SaveWeekStatements modeOne(us_, 1);
        db.exec(modeOne.insert(day(), cells({"0", "99", "0", "0", "0.00", "0.00", "0.00"})));
        QCOMPARE(firstRow(db, QStringLiteral("hours_typed_modified, hours_system_modified")),
                 QStringLiteral("0/0"));
        db.exec(modeOne.update(day(), 64, cells({"0", "99", "0", "0", "0.00", "0.00", "0.00"})));
        QCOMPARE(firstRow(db, QStringLiteral("hours_system, hours_other, hours_system_modified, "
                                             "hours_other_modified, hours_typed_modified")),
                 QStringLiteral("8/1.5/7.5/1.5/0"));
    }

    void numberForms_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("fixed");
        QTest::addColumn<QString>("plain");
        QTest::newRow("zero") << 0.0 << "0.00"
                              << "0";
        QTest::newRow("half") << 7.5 << "7.50"
                              << "7.5";
        QTest::newRow("decimal half rounds up") << 1.115 << "1.12"
                                                << "1.115";
        QTest::newRow("third") << 1.0 / 3 << "0.33"
                               << "0.333333333333333";
        QTest::newRow("tiny negative") << -0.001 << "0.00"
                                       << "-0.001";
        QTest::newRow("carry") << 9.996 << "10.00"
                               << "9.996";
        QTest::newRow("largest the grid shows") << 9999999.99 << "9999999.99"
                                                << "9999999.99";
        QTest::newRow("very small") << 0.00001 << "0.00"
                                    << "1E-05";
        QTest::newRow("very large") << 1e15 << "1000000000000000.00"
                                    << "1E+15";
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

    void roundsHalvesToEven() {
        QCOMPARE(NumberText::roundHalfEven(-0.5), 0.0);
        QCOMPARE(NumberText::roundHalfEven(-1.5), -2.0);
        QCOMPARE(NumberText::roundHalfEven(2.5), 2.0);
    }
};

VELORA_TEST(TestWeekStatements)
#include "TestWeekStatements.moc"
