// The effective-date statements (earliest revert date, lock-out and the change itself) of
// group formula, user group and formula saves. Their date is spliced in the regional form the
// operator typed; on a date column it must mean that day, in either regional form.
#include "CorpusFixture.h"
#include "common/TestMain.h"

#include <QTest>

using velora::test::compareRows;
using velora::test::CorpusFixture;
using velora::test::rowTexts;

namespace {

const QVariant null;

enum class Caller { Group, User, Formula };

// The maximum query of each caller; `key` is the group id, the user id or the formula id.
QString revertDateQuery(Caller caller, const QString& key, const QString& account,
                        const QString& date) {
    switch (caller) {
    case Caller::Group:
        return QStringLiteral("SELECT MAX(shift_date) FROM trans_incentive, trans_info WHERE "
                              "trans_info.trans_id = trans_incentive.trans_id AND "
                              "trans_info.incentive_group_id = '") +
               key + QStringLiteral("' AND locked = 1 AND hosp_acct_id = ") + account +
               QStringLiteral(" AND shift_date > '") + date + QStringLiteral("'");
    case Caller::User:
        return QStringLiteral("SELECT MAX(shift_date) FROM trans_incentive WHERE trans_id ='") +
               key + QStringLiteral("' AND locked = 1 AND shift_date > '") + date +
               QStringLiteral("'");
    case Caller::Formula:
        return QStringLiteral(
                   "SELECT MAX(shift_date) FROM trans_incentive, Incentive_group_formula, "
                   "trans_info WHERE Incentive_group_formula.group_id = "
                   "trans_info.incentive_group_id AND trans_info.trans_id = "
                   "trans_incentive.trans_id AND "
                   "(Incentive_group_formula.typed_formula_id = ") +
               key + QStringLiteral(" OR Incentive_group_formula.hours_worked_formula_id = ") +
               key + QStringLiteral(" OR Incentive_group_formula.pay_formula_id = ") + key +
               QStringLiteral(") AND locked = 1 AND shift_date > '") + date + QStringLiteral("'");
    }
    return {};
}

QString lockStatement(Caller caller, const QString& key, const QString& date) {
    switch (caller) {
    case Caller::Group:
        return QStringLiteral("UPDATE trans_incentive SET locked = 1 WHERE (SELECT "
                              "incentive_group_id FROM trans_info WHERE trans_incentive.trans_id "
                              "= trans_info.trans_id) = ") +
               key + QStringLiteral(" AND trans_incentive.shift_date < '") + date +
               QStringLiteral("'");
    case Caller::User:
        return QStringLiteral("UPDATE trans_incentive SET locked = 1 WHERE trans_id='") + key +
               QStringLiteral("' AND shift_date < '") + date + QStringLiteral("'");
    case Caller::Formula:
        return QStringLiteral("UPDATE trans_incentive SET locked = 1 Where EXISTS(SELECT "
                              "trans_info.incentive_group_id FROM Incentive_group_formula, "
                              "trans_info WHERE Incentive_group_formula.group_id = "
                              "trans_info.incentive_group_id AND trans_info.trans_id = "
                              "trans_incentive.trans_id AND "
                              "(Incentive_group_formula.typed_formula_id = ") +
               key + QStringLiteral(" OR Incentive_group_formula.hours_worked_formula_id = ") +
               key + QStringLiteral(" OR Incentive_group_formula.pay_formula_id = ") + key +
               QStringLiteral(")) AND trans_incentive.shift_date < '") + date + QStringLiteral("'");
    }
    return {};
}

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

// Rows of the fixture that no lock reaches before 2024-01-30, whoever it is for.
const QStringList alwaysOpen = {"jsmith|102|2024-01-30",  "jsmith|101|2024-01-30",
                                "jsmith|101|2024-02-01",  "jsmith|101|2024-02-05",
                                "O'Brien|102|2024-02-01", "k.lee|102|2024-02-01",
                                "k.lee|101|2024-02-01",   "mgone|101|2024-01-22"};

} // namespace

Q_DECLARE_METATYPE(Caller)

class TestLockCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void earliestRevertDate_data();
    void earliestRevertDate();
    void lockLocksExactlyTheRowsBeforeTheDate_data();
    void lockLocksExactlyTheRowsBeforeTheDate();
    void effectiveDatesAreStoredAsDates_data();
    void effectiveDatesAreStoredAsDates();
    void groupFormulaAssignmentIsWritten();
    void dateLikeTextIsNotADate_data();
    void dateLikeTextIsNotADate();
};

void TestLockCorpus::earliestRevertDate_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<Caller>("caller");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QVariant>("expected");
    const QString us = QStringLiteral("MM/dd/yyyy");
    const QString dotted = QStringLiteral("dd.MM.yyyy");
    // clang-format off
    QTest::newRow("user: locked day after the date") << us << Caller::User << "jsmith" << "" << "01/01/2024" << QVariant("2024-01-10");
    QTest::newRow("user: locked day on the date is not after it") << us << Caller::User << "jsmith" << "" << "01/10/2024" << null;
    QTest::newRow("user: dotted regional form") << dotted << Caller::User << "jsmith" << "" << "01.01.2024" << QVariant("2024-01-10");
    QTest::newRow("user: stored form") << us << Caller::User << "jsmith" << "" << "2024-01-01" << QVariant("2024-01-10");
    QTest::newRow("user: across New Year") << us << Caller::User << "k.lee" << "" << "12/31/2023" << QVariant("2024-01-15");
    QTest::newRow("group: edited account only") << us << Caller::Group << "2" << "101" << "12/01/2023" << QVariant("2023-12-31");
    QTest::newRow("group: nothing locked after") << us << Caller::Group << "2" << "101" << "12/31/2023" << null;
    QTest::newRow("group: dotted regional form") << dotted << Caller::Group << "2" << "102" << "01.12.2023" << QVariant("2024-01-10");
    QTest::newRow("formula: users of every group using it") << us << Caller::Formula << "3" << "" << "01/01/2024" << QVariant("2024-01-15");
    QTest::newRow("formula: pay formula only") << us << Caller::Formula << "2" << "" << "01/01/2024" << QVariant("2024-01-10");
    QTest::newRow("formula: unused") << us << Caller::Formula << "4" << "" << "01/01/2023" << null;
    // clang-format on
}

void TestLockCorpus::earliestRevertDate() {
    QFETCH(QString, format);
    QFETCH(Caller, caller);
    QFETCH(QString, key);
    QFETCH(QString, account);
    QFETCH(QString, date);
    QFETCH(QVariant, expected);
    CorpusFixture fx(format);
    auto rows = fx.open(revertDateQuery(caller, key, account, date));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    const QString mismatch = compareRows(*rows, {rows->columnNames().value(0)}, {{expected}});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestLockCorpus::lockLocksExactlyTheRowsBeforeTheDate_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<Caller>("caller");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("date");
    QTest::addColumn<int>("affected");
    QTest::addColumn<QStringList>("open"); // rows still unlocked afterwards

    // Group 2 is jsmith and O'Brien; user jsmith alone; formula 3 is used by groups 2 and 3
    // (jsmith, O'Brien, k.lee). mgone's group 1 uses none of them.
    const QStringList groupOpen = alwaysOpen + QStringList{"k.lee|102|2024-01-02"};
    const QStringList userOpen =
        groupOpen + QStringList{"O'Brien|101|2024-01-15", "O'Brien|101|2024-01-29"};
    const struct {
        const char* name;
        Caller caller;
        const char* key;
        int affected;
        QStringList open;
    } callers[] = {{"group", Caller::Group, "2", 9, groupOpen},
                   {"user", Caller::User, "jsmith", 7, userOpen},
                   {"formula", Caller::Formula, "3", 11, alwaysOpen}};
    const struct {
        const char* format;
        const char* date;
    } dates[] = {
        {"MM/dd/yyyy", "01/30/2024"}, {"dd.MM.yyyy", "30.01.2024"}, {"MM/dd/yyyy", "2024-01-30"}};
    for (const auto& c : callers) {
        for (const auto& d : dates)
            QTest::addRow("%s, %s", c.name, d.date)
                << QString::fromUtf8(d.format) << c.caller << QString::fromUtf8(c.key)
                << QString::fromUtf8(d.date) << c.affected << c.open;
    }
}

void TestLockCorpus::lockLocksExactlyTheRowsBeforeTheDate() {
    QFETCH(QString, format);
    QFETCH(Caller, caller);
    QFETCH(QString, key);
    QFETCH(QString, date);
    QFETCH(int, affected);
    QFETCH(QStringList, open);
    CorpusFixture fx(format);
    const auto changed = fx.execute(lockStatement(caller, key, date));
    QVERIFY2(changed, qPrintable(fx.lastError()));
    QCOMPARE(*changed, affected);

    auto rows = fx.open(QStringLiteral("SELECT trans_id, hosp_acct_id, shift_date FROM "
                                       "trans_incentive WHERE locked = 0"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QCOMPARE(sorted(rowTexts(*rows, {QStringLiteral("trans_id"), QStringLiteral("hosp_acct_id"),
                                     QStringLiteral("shift_date")})),
             sorted(open));
}

void TestLockCorpus::effectiveDatesAreStoredAsDates_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("date");
    QTest::newRow("US form") << "MM/dd/yyyy"
                             << "01/30/2024";
    QTest::newRow("dotted form") << "dd.MM.yyyy"
                                 << "30.01.2024";
    QTest::newRow("stored form") << "dd.MM.yyyy"
                                 << "2024-01-30";
}

void TestLockCorpus::effectiveDatesAreStoredAsDates() {
    QFETCH(QString, format);
    QFETCH(QString, date);
    CorpusFixture fx(format);
    // The group save writes its date with no blank before WHERE.
    QVERIFY2(fx.execute(QStringLiteral("UPDATE Incentive_group SET incentive_effective_date = '") +
                        date + QStringLiteral("'WHERE group_id = ") + QStringLiteral("2")),
             qPrintable(fx.lastError()));
    QVERIFY2(fx.execute(QStringLiteral("UPDATE Trans_info SET incentive_group_id = ") +
                        QStringLiteral("3") + QStringLiteral(", incentive_effective_date = '") +
                        date + QStringLiteral("' WHERE trans_id = '") + QStringLiteral("jsmith") +
                        QStringLiteral("'")),
             qPrintable(fx.lastError()));

    auto rows =
        fx.open(QStringLiteral("SELECT group_id, incentive_effective_date FROM "
                               "Incentive_group WHERE group_id IN (2, 3) ORDER BY group_id"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QString mismatch = compareRows(*rows, {"group_id", "incentive_effective_date"},
                                   {{2, "2024-01-30"}, {3, "2024-02-01"}});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));

    rows = fx.open(QStringLiteral("SELECT incentive_group_id, incentive_effective_date FROM "
                                  "Trans_info WHERE trans_id = 'jsmith'"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    mismatch =
        compareRows(*rows, {"incentive_group_id", "incentive_effective_date"}, {{3, "2024-01-30"}});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestLockCorpus::groupFormulaAssignmentIsWritten() {
    CorpusFixture fx;
    auto changed = fx.execute(
        QStringLiteral("UPDATE Incentive_group_formula SET pay_formula_id = ") +
        QStringLiteral("4") + QStringLiteral(" WHERE group_id = ") + QStringLiteral("2") +
        QStringLiteral(" AND account_id = ") + QStringLiteral("101"));
    QVERIFY2(changed, qPrintable(fx.lastError()));
    QCOMPARE(*changed, 1);
    changed =
        fx.execute(QStringLiteral("INSERT INTO Incentive_group_formula (group_id, account_id, "
                                  "pay_formula_id) VALUES(") +
                   QStringLiteral("3") + QStringLiteral(", ") + QStringLiteral("104") +
                   QStringLiteral(", ") + QStringLiteral("2") + QStringLiteral(")"));
    QVERIFY2(changed, qPrintable(fx.lastError()));
    QCOMPARE(*changed, 1);

    auto rows = fx.open(QStringLiteral(
        "SELECT group_id, account_id, typed_formula_id, hours_worked_formula_id, pay_formula_id "
        "FROM Incentive_group_formula WHERE account_id IN (101, 104) ORDER BY group_id"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    const QString mismatch = compareRows(
        *rows,
        {"group_id", "account_id", "typed_formula_id", "hours_worked_formula_id", "pay_formula_id"},
        {{2, 101, 3, 1, 4}, {3, 104, null, null, 2}, {4, 104, 1, 1, 1}});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestLockCorpus::dateLikeTextIsNotADate_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("name");
    QTest::newRow("US form") << "MM/dd/yyyy"
                             << "01/30/2024";
    QTest::newRow("dotted form") << "dd.MM.yyyy"
                                 << "30.01.2024";
    QTest::newRow("stored form") << "MM/dd/yyyy"
                                 << "2024-01-30";
}

void TestLockCorpus::dateLikeTextIsNotADate() {
    QFETCH(QString, format);
    QFETCH(QString, name);
    CorpusFixture fx(format);
    QVERIFY2(fx.execute(QStringLiteral("UPDATE Incentive_group SET GROUP_NAME = '") + name +
                        QStringLiteral("' WHERE GROUP_ID = ") + QStringLiteral("3")),
             qPrintable(fx.lastError()));
    auto rows =
        fx.open(QStringLiteral("SELECT GROUP_ID FROM Incentive_group WHERE GROUP_NAME = '") + name +
                QStringLiteral("'"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    QString mismatch = compareRows(*rows, {QStringLiteral("GROUP_ID")}, {{3}});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));

    rows = fx.open(QStringLiteral("SELECT group_name FROM Incentive_group WHERE group_id = 3"));
    QVERIFY2(rows, qPrintable(fx.lastError()));
    mismatch = compareRows(*rows, {QStringLiteral("group_name")}, {{name}});
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

VELORA_TEST(TestLockCorpus)
#include "TestLockCorpus.moc"
