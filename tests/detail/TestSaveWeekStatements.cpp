#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "detail/DayChangeMask.h"
#include "detail/SaveWeekStatements.h"
#include "suite/HXRegion.h"
#include "suite/SuiteError.h"

#include <QTest>

Q_DECLARE_METATYPE(velora::detail::DayRecord)

using velora::detail::DayCellTexts;
using velora::detail::DayChangeMask;
using velora::detail::DayRecord;
using velora::detail::SaveWeekStatements;
using velora::detail::ValueKind;
using velora::suite::HXRegion;
using velora::suite::SuiteError;

namespace {

DayRecord day(float reports = 0, float hours = 0, float chars = 0, float lines = 0,
              float iHours = 0, float iTyped = 0, float iPay = 0) {
    DayRecord record;
    record.TransID = QStringLiteral("O'Neil");
    record.AccountID = 12;
    record.ShiftDate = QDate(2024, 3, 5);
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

// The columns of the first row, joined by "/".
QString firstRow(velora::test::TestDatabase& db, const QString& columns) {
    velora::db::Recordset rs = db.connection().openRecordset(
        QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM Trans_incentive"));
    QStringList values;
    for (int i = 0; !rs.eof() && i < rs.fieldCount(); ++i)
        values << rs.value(i).toString();
    return values.join(QLatin1Char('/'));
}

const QStringList kZeros = {"0", "0", "0", "0", "0.00", "0.00", "0.00"};

// The four hour-mode-1 clauses as the production statements write them.
QString activityClauses(const QString& date, const QString& user) {
    return QStringLiteral(
               "hours_system = ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / 3600.0) "
               "FROM Trans_activity TA1 WHERE TA1.shift_date = '%1' AND TA1.trans_id = '%2' AND "
               "TA1.count_activity > 0 AND TA1.work_type = 1 AND TA1.update_type <> 6),0), "
               "hours_other = ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) / 3600.0) "
               "FROM Trans_activity TA2 WHERE TA2.shift_date = '%1' AND TA2.trans_id = '%2' AND "
               "TA2.count_activity > 0 AND TA2.work_type = 2 AND TA2.update_type <> 6),0), "
               "hours_system_modified = ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) "
               "/ 3600.0) FROM Trans_activity TA3 WHERE TA3.shift_date = '%1' AND TA3.trans_id = "
               "'%2' AND TA3.work_type = 1 AND TA3.update_type = 9),0), "
               "hours_other_modified = ISNULL((SELECT CONVERT(decimal(19,2), SUM(activity_time) "
               "/ 3600.0) FROM Trans_activity TA4 WHERE TA4.shift_date = '%1' AND TA4.trans_id = "
               "'%2' AND TA4.work_type = 2 AND TA4.update_type = 9),0), ")
        .arg(date, user);
}

} // namespace

class TestSaveWeekStatements : public QObject {
    Q_OBJECT

    const HXRegion us_{QLocale(QStringLiteral("en_US"))};

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
        QTest::newRow("every kind")
            << day() << QStringList{"1", "2", "3", "4", "5.00", "6.00", "7.00"} << 254;
        QTest::newRow("reports and pay")
            << day(3, 0, 0, 0, 0, 0, 10.5f)
            << QStringList{"4", "0", "0", "0", "0.00", "0.00", "10.49"} << (128 | 2);
        QTest::newRow("char and true lines, IHours, ITyped")
            << day() << QStringList{"0", "0", "10", "20", "1.00", "2.00", "0.00"}
            << (32 | 16 | 8 | 4);
        QTest::newRow("single precision value equal to its text")
            << day(0, 0.1f, 0, 0, 0, 0, 123.45f)
            << QStringList{"0", "0.1", "0", "0", "0.00", "0.00", "123.45"} << 0;
        // The grid shows 0.285 as 0.29 (halves away from zero); as single precision it lies
        // just below 0.285, yet the untouched cell is no change.
        QTest::newRow("half a hundredth as shown")
            << day(0, 0, 0, 0, 0, 0, 0.285f)
            << QStringList{"0", "0", "0", "0", "0.00", "0.00", "0.29"} << 0;
        QTest::newRow("grouped thousands")
            << day(0, 0, 12345) << QStringList{"0", "0", "12,345", "0", "0.00", "0.00", "0.00"}
            << 0;
        QTest::newRow("tiny negative is zero")
            << day() << QStringList{"0", "0", "0", "0", "0.00", "0.00", "-0.001"} << 0;
        DayRecord locked = day();
        locked.Editable = false;
        QTest::newRow("not editable")
            << locked << QStringList{"1", "2", "3", "4", "5.00", "6.00", "7.00"} << 0;
        DayRecord noUser = day();
        noUser.TransID.clear();
        QTest::newRow("no user") << noUser
                                 << QStringList{"1", "2", "3", "4", "5.00", "6.00", "7.00"} << 0;
        DayRecord neverFilled = day();
        neverFilled.ShiftDate = QDate(1900, 1, 1);
        QTest::newRow("never filled")
            << neverFilled << QStringList{"1", "2", "3", "4", "5.00", "6.00", "7.00"} << 0;
    }
    void mask() {
        QFETCH(DayRecord, record);
        QFETCH(QStringList, texts);
        QFETCH(int, mask);
        QCOMPARE(DayChangeMask::of(record, cells(texts), us_), mask);
    }

    void maskReadsTheRegionalForm() {
        const HXRegion german{QLocale(QStringLiteral("de_DE"))};
        const QStringList texts = {"0", "7,5", "1.234", "0", "0,00", "0,00", "5,01"};
        QCOMPARE(DayChangeMask::of(day(0, 7.5f, 1234, 0, 0, 0, 5), cells(texts), german), 2);
    }

    void maskRefusesATextThatIsNoNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("letters") << "abc";
        QTest::newRow("empty") << "";
        QTest::newRow("statement") << "1, locked = 0";
        QTest::newRow("two points") << "1.2.3";
    }
    void maskRefusesATextThatIsNoNumber() {
        QFETCH(QString, text);
        QStringList texts = kZeros;
        texts[3] = text;
        QVERIFY_THROWS_EXCEPTION(SuiteError, DayChangeMask::of(day(), cells(texts), us_));
    }

    void updateListsOnlyChangedColumnsInFixedOrder() {
        const SaveWeekStatements statements(us_, 2);
        const DayCellTexts typed = cells({"7", "8.5", "100", "90", "1.25", "2.50", "12.50"});
        QCOMPARE(statements.update(day(), 128 | 2, typed),
                 QStringLiteral("UPDATE trans_incentive SET number_rpts_modified = 7, "
                                "incent_pay_modified = 12.50 WHERE trans_id = 'O''Neil' AND "
                                "hosp_acct_id = 12 AND shift_date = '2024-03-05'"));
        QCOMPARE(statements.update(day(), 254, typed),
                 QStringLiteral("UPDATE trans_incentive SET number_rpts_modified = 7, "
                                "hours_typed_modified = 8.5, chars_modified = 100, "
                                "lines_modified = 90, incent_hours_typed_modified = 1.25, "
                                "incent_typed_modified = 2.50, incent_pay_modified = 12.50 WHERE "
                                "trans_id = 'O''Neil' AND hosp_acct_id = 12 AND shift_date = "
                                "'2024-03-05'"));
        QCOMPARE(statements.update(day(), 0, typed), QString());
    }

    void updateInHourModeOneRefreshesHoursFromTheActivityLog() {
        const SaveWeekStatements statements(us_, 1);
        const DayCellTexts typed = cells({"0", "8.5", "100", "0", "0.00", "0.00", "0.00"});
        QString expected =
            QStringLiteral("UPDATE trans_incentive SET ") +
            activityClauses(QStringLiteral("2024-03-05"), QStringLiteral("O''Neil")) +
            QStringLiteral("chars_modified = 100");
        expected += QStringLiteral(" WHERE trans_id = 'O''Neil' AND hosp_acct_id = 12 AND "
                                   "shift_date = '2024-03-05'");
        QCOMPARE(statements.update(day(), 64 | 32, typed), expected);
    }

    void insertTextsOfBothHourModes() {
        const DayCellTexts typed = cells({"7", "8.5", "1,100", "90", "1.25", "2.50", "12.50"});
        QCOMPARE(SaveWeekStatements(us_, 2).insert(day(), typed),
                 QStringLiteral("INSERT INTO trans_incentive (number_rpts_modified, "
                                "hours_typed_modified, chars_modified, lines_modified, trans_id, "
                                "hosp_acct_id, shift_date, dept_id) VALUES(7, 8.5, 1100, 90, "
                                "'O''Neil', 12, '2024-03-05', 0)"));
        const QString modeOne =
            QStringLiteral("INSERT INTO trans_incentive (number_rpts_modified, chars_modified, "
                           "lines_modified, trans_id, hosp_acct_id, shift_date, dept_id) "
                           "VALUES(7, 1100, 90, 'O''Neil', 12, '2024-03-05', 0)");
        QCOMPARE(SaveWeekStatements(us_, 1).insert(day(), typed), modeOne);
        QCOMPARE(SaveWeekStatements(us_, 2).systemHoursInsert(day(), typed), modeOne);
    }

    void aCellThatIsNoNumberNeverReachesAStatement() {
        const DayCellTexts typed = cells({"7", "0", "0", "0", "0.00", "0.00", "0); DROP TABLE x"});
        QVERIFY_THROWS_EXCEPTION(SuiteError, SaveWeekStatements(us_, 2).update(day(), 2, typed));
        const DayCellTexts badReports = cells({"7'", "0", "0", "0", "0.00", "0.00", "0.00"});
        QVERIFY_THROWS_EXCEPTION(SuiteError, SaveWeekStatements(us_, 1).insert(day(), badReports));
    }

    // The statements run on the embedded engine and land in the right columns.
    void statementsWriteTheRightColumns() {
        velora::test::TestDatabase db;
        const DayRecord record = day();
        const SaveWeekStatements modeTwo(us_, 2);
        db.exec(modeTwo.insert(record, cells({"7", "8.5", "100", "90", "1.25", "2.50", "12.50"})));
        QCOMPARE(firstRow(db, QStringLiteral("number_rpts_modified, hours_typed_modified, "
                                             "chars_modified, lines_modified, incent_pay_modified, "
                                             "number_rpts, trans_id")),
                 QStringLiteral("7/8.5/100/90/0/0/O'Neil"));
        db.exec(
            modeTwo.update(record, 8 | 2, cells({"1", "1", "1", "1", "1.25", "2.50", "12.50"})));
        QCOMPARE(firstRow(db, QStringLiteral("number_rpts_modified, incent_hours_typed_modified, "
                                             "incent_typed_modified, incent_pay_modified")),
                 QStringLiteral("7/1.25/0/12.5"));
    }

    void hourModeOneUpdateRecomputesTheFourHoursColumns() {
        velora::test::TestDatabase db;
        const QString insert =
            QStringLiteral("INSERT INTO Trans_activity (trans_id, shift_date, activity_time, "
                           "work_type, update_type, count_activity) VALUES ('O''Neil', "
                           "'2024-03-05', %1, %2, %3, %4)");
        db.exec(insert.arg(27000).arg(1).arg(9).arg(1)); // counted system time 7.5 h
        db.exec(insert.arg(1800).arg(1).arg(0).arg(1));  // collected, not edited 0.5 h
        db.exec(insert.arg(3600).arg(1).arg(6).arg(1));  // left out
        db.exec(insert.arg(900).arg(1).arg(0).arg(0));   // not counted
        db.exec(insert.arg(5400).arg(2).arg(9).arg(1));  // other work 1.5 h
        db.exec(insert.arg(9000).arg(1).arg(9).arg(1).replace(QStringLiteral("2024-03-05"),
                                                              QStringLiteral("2024-03-06")));
        const SaveWeekStatements modeOne(us_, 1);
        db.exec(modeOne.insert(day(), cells(kZeros)));
        db.exec(modeOne.update(day(), 64, cells({"0", "99", "0", "0", "0.00", "0.00", "0.00"})));
        QCOMPARE(firstRow(db, QStringLiteral("hours_system, hours_other, hours_system_modified, "
                                             "hours_other_modified, hours_typed_modified")),
                 QStringLiteral("8/1.5/7.5/1.5/0"));
    }
};

VELORA_TEST(TestSaveWeekStatements)
#include "TestSaveWeekStatements.moc"
