#include "common/TestDatabase.h"
#include "common/TestMain.h"
#include "detail/RevertStatement.h"

#include <QTest>

using velora::detail::DayRecord;
using velora::detail::RevertStatement;
using velora::detail::ValueKind;

Q_DECLARE_METATYPE(velora::detail::DayRecord)
Q_DECLARE_METATYPE(velora::detail::ValueKind)

namespace {

// A stored day of user O'Neil, account 12, with nothing collected and nothing corrected.
DayRecord emptyDay() {
    DayRecord record;
    record.TransID = QStringLiteral("O'Neil");
    record.AccountID = 12;
    record.ShiftDate = QDate(2024, 3, 5);
    record.Editable = true;
    record.Stored = true;
    return record;
}

DayRecord with(DayRecord record, ValueKind kind, float current, float collected) {
    record.value(kind) = {current, collected};
    return record;
}

const QString kWhere = QStringLiteral(
    "WHERE trans_id = 'O''Neil' AND hosp_acct_id = 12 AND shift_date = '2024-03-05'");

} // namespace

class TestRevert : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void resetClause_data() {
        QTest::addColumn<ValueKind>("kind");
        QTest::addColumn<int>("hourMode");
        QTest::addColumn<QString>("clause");
        QTest::newRow("reports") << ValueKind::Reports << 2
                                 << "number_rpts_modified = number_rpts ";
        QTest::newRow("hours, mode 1")
            << ValueKind::Hours << 1 << "hours_system_modified = hours_system ";
        QTest::newRow("hours, mode 2")
            << ValueKind::Hours << 2 << "hours_typed_modified = hours_typed ";
        QTest::newRow("char lines") << ValueKind::CharLines << 1 << "chars_modified = chars ";
        QTest::newRow("true lines") << ValueKind::TrueLines << 1 << "lines_modified = lines ";
        QTest::newRow("IHours") << ValueKind::IHours << 2
                                << "incent_hours_typed_modified = incent_hours_typed ";
        QTest::newRow("ITyped") << ValueKind::ITyped << 2
                                << "incent_typed_modified = incent_typed ";
        QTest::newRow("IPay") << ValueKind::IPay << 2 << "incent_pay_modified = incent_pay ";
    }
    void resetClause() {
        QFETCH(ValueKind, kind);
        QFETCH(int, hourMode);
        QFETCH(QString, clause);
        QCOMPARE(RevertStatement::resetClause(kind, hourMode), clause);
        // A row with collected production is never deleted.
        const DayRecord record = with(emptyDay(), ValueKind::CharLines, 10, 10);
        QCOMPARE(RevertStatement::build(record, kind, hourMode),
                 QStringLiteral("UPDATE Trans_incentive SET ") + clause + kWhere);
    }

    void deleteRule_data() {
        QTest::addColumn<DayRecord>("record");
        QTest::addColumn<ValueKind>("kind");
        QTest::addColumn<bool>("deletes");
        const DayRecord typedReports = with(emptyDay(), ValueKind::Reports, 5, 0);
        QTest::newRow("only correction reverted") << typedReports << ValueKind::Reports << true;
        QTest::newRow("another kind reverted, reports still typed")
            << typedReports << ValueKind::IPay << false;
        QTest::newRow("collected lines")
            << with(typedReports, ValueKind::TrueLines, 0, 3) << ValueKind::Reports << false;
        QTest::newRow("collected hours")
            << with(typedReports, ValueKind::Hours, 2, 2) << ValueKind::Reports << false;
        QTest::newRow("typed hours reverted")
            << with(emptyDay(), ValueKind::Hours, 7.5f, 0) << ValueKind::Hours << true;
        QTest::newRow("pay corrected elsewhere")
            << with(typedReports, ValueKind::IPay, 10, 8) << ValueKind::Reports << false;
        QTest::newRow("pay equal to its engine value")
            << with(typedReports, ValueKind::IPay, 8, 8) << ValueKind::Reports << true;
        QTest::newRow("pay correction reverted")
            << with(emptyDay(), ValueKind::IPay, 10, 8) << ValueKind::IPay << true;
        QTest::newRow("ITyped corrected elsewhere")
            << with(emptyDay(), ValueKind::ITyped, 1, 0) << ValueKind::IHours << false;
    }
    void deleteRule() {
        QFETCH(DayRecord, record);
        QFETCH(ValueKind, kind);
        QFETCH(bool, deletes);
        QCOMPARE(RevertStatement::leavesRowEmpty(record, kind), deletes);
        const QString statement = RevertStatement::build(record, kind, 2);
        QCOMPARE(statement.startsWith(QStringLiteral("DELETE FROM Trans_incentive WHERE")),
                 deletes);
        QVERIFY(statement.endsWith(kWhere));
    }

    // Run on the database: an UPDATE restores the collected value of one column only, the
    // DELETE removes the day's row and no other.
    void statementsOnTheDatabase() {
        velora::test::TestDatabase db;
        db.exec(QStringLiteral(
            "INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, lines, "
            "lines_modified, hours_typed, hours_typed_modified, hours_system, "
            "hours_system_modified) VALUES ('O''Neil', 12, '2024-03-05', 3, 9, 4, 6, 5, 8)"));
        db.exec(QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, "
                               "number_rpts_modified) VALUES ('O''Neil', 12, '2024-03-06', 5)"));
        DayRecord fifth = with(emptyDay(), ValueKind::TrueLines, 9, 3);
        db.exec(RevertStatement::build(fifth, ValueKind::TrueLines, 2));
        db.exec(RevertStatement::build(fifth, ValueKind::Hours, 1));
        QCOMPARE(db.scalar(QStringLiteral("SELECT lines_modified FROM Trans_incentive WHERE "
                                          "shift_date = '2024-03-05'")),
                 QStringLiteral("3"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT hours_system_modified FROM Trans_incentive "
                                          "WHERE shift_date = '2024-03-05'")),
                 QStringLiteral("5"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT hours_typed_modified FROM Trans_incentive "
                                          "WHERE shift_date = '2024-03-05'")),
                 QStringLiteral("6"));
        db.exec(RevertStatement::build(fifth, ValueKind::Hours, 2));
        QCOMPARE(db.scalar(QStringLiteral("SELECT hours_typed_modified FROM Trans_incentive "
                                          "WHERE shift_date = '2024-03-05'")),
                 QStringLiteral("4"));

        DayRecord sixth = with(emptyDay(), ValueKind::Reports, 5, 0);
        sixth.ShiftDate = QDate(2024, 3, 6);
        db.exec(RevertStatement::build(sixth, ValueKind::Reports, 2));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Trans_incentive")),
                 QStringLiteral("1"));
    }
};

VELORA_TEST(TestRevert)
#include "TestRevert.moc"
