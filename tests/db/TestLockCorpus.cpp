// The effective-date statements (earliest revert date, lock-out and the change itself) of
// group formula, user group and formula saves. Their date is spliced in the regional form the
// operator typed; on a date column it must mean that day, in either regional form.
#include "CorpusFixture.h"
#include "common/TestMain.h"
#include "formulas/FormulaEditing.h"
#include "groups/GroupAccount.h"
#include "groups/UserGroupAssignment.h"

#include <QTest>
#include <functional>

using namespace velora::test;
using velora::formulas::FormulaEditing;
using velora::groups::GroupAccount;
using velora::groups::UserGroupAssignment;

namespace {

const QString us = QStringLiteral("MM/dd/yyyy");
const QString dotted = QStringLiteral("dd.MM.yyyy");

// The latest locked day after the date: %1 the group or formula id, then the group's account
// and the date.
const QString groupRevertDate =
    "SELECT MAX(shift_date) FROM trans_incentive, trans_info WHERE trans_info.trans_id = "
    "trans_incentive.trans_id AND trans_info.incentive_group_id = '%1' AND locked = 1 AND "
    "hosp_acct_id = %2 AND shift_date > '%3'";
const QString formulaRevertDate =
    "SELECT MAX(shift_date) FROM trans_incentive, Incentive_group_formula, trans_info WHERE "
    "Incentive_group_formula.group_id = trans_info.incentive_group_id AND trans_info.trans_id = "
    "trans_incentive.trans_id AND (Incentive_group_formula.typed_formula_id = %1 OR "
    "Incentive_group_formula.hours_worked_formula_id = %1 OR "
    "Incentive_group_formula.pay_formula_id = %1) AND locked = 1 AND shift_date > '%2'";

// The lock-out before the new date: %1 the group or formula id (or user), %2 the date. A row
// already locked is not rewritten.
const QString groupLock =
    "UPDATE trans_incentive SET locked = 1 WHERE trans_incentive.trans_id IN (SELECT "
    "trans_info.trans_id FROM trans_info WHERE trans_info.incentive_group_id = %1) AND "
    "trans_incentive.shift_date < '%2' AND trans_incentive.locked = 0";
const QString userLock =
    "UPDATE trans_incentive SET locked = 1 WHERE trans_id='%1' AND shift_date < '%2' AND "
    "locked = 0";
const QString formulaLock =
    "UPDATE trans_incentive SET locked = 1 Where trans_incentive.trans_id IN (SELECT "
    "trans_info.trans_id FROM Incentive_group_formula, trans_info WHERE "
    "Incentive_group_formula.group_id = trans_info.incentive_group_id AND "
    "(Incentive_group_formula.typed_formula_id = %1 OR "
    "Incentive_group_formula.hours_worked_formula_id = %1 OR "
    "Incentive_group_formula.pay_formula_id = %1)) AND trans_incentive.shift_date < '%2' AND "
    "trans_incentive.locked = 0";

} // namespace

class TestLockCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void statements_data();
    void statements() { runCorpusRow(); }

    void statementTexts() {
        QCOMPARE(GroupAccount::latestLockedStatement(2, 101, "x'y"),
                 groupRevertDate.arg("2", "101", "x''y"));
        QCOMPARE(FormulaEditing::latestLockedStatement(3, "x'y", false),
                 formulaRevertDate.arg("3", "x''y"));
        QCOMPARE(GroupAccount::lockStatement(2, "x'y"), groupLock.arg("2", "x''y"));
        QCOMPARE(UserGroupAssignment::lockStatement("o'b", "1/2/2024"),
                 userLock.arg("o''b", "1/2/2024"));
        QCOMPARE(FormulaEditing::lockStatement(3, "1/2/2024", false),
                 formulaLock.arg("3", "1/2/2024"));
    }
};

void TestLockCorpus::statements_data() {
    addCorpusColumns();
    // clang-format off
    const auto userRevert = &UserGroupAssignment::latestLockedStatement;
    const auto groupRevert = &GroupAccount::latestLockedStatement;
    const auto formulaRevert = [](int formula, const QString& date) {
        return FormulaEditing::latestLockedStatement(formula, date, false);
    };
    const struct {
        const char* name;
        QString query;
        QString format;
        const char* expected;
    } revertDates[] = {
        {"user: locked day after the date", userRevert("jsmith", "01/01/2024"), us, "2024-01-10"},
        {"user: locked day on the date is not after it", userRevert("jsmith", "01/10/2024"), us, "NULL"},
        {"user: dotted regional form", userRevert("jsmith", "01.01.2024"), dotted, "2024-01-10"},
        {"user: stored form", userRevert("jsmith", "2024-01-01"), us, "2024-01-10"},
        {"user: across New Year", userRevert("k.lee", "12/31/2023"), us, "2024-01-15"},
        {"group: edited account only", groupRevert(2, 101, "12/01/2023"), us, "2023-12-31"},
        {"group: nothing locked after", groupRevert(2, 101, "12/31/2023"), us, "NULL"},
        {"group: dotted regional form", groupRevert(2, 102, "01.12.2023"), dotted, "2024-01-10"},
        {"formula: users of every group using it", formulaRevert(3, "01/01/2024"), us, "2024-01-15"},
        {"formula: pay formula only", formulaRevert(2, "01/01/2024"), us, "2024-01-10"},
        {"formula: unused", formulaRevert(4, "01/01/2023"), us, "NULL"},
    };
    for (const auto& r : revertDates)
        corpusRow(QByteArray("revert date, ") + r.name, r.query, {r.expected}, {}, r.format);

    // Each lock reaches exactly the rows of its users before the date, and no other; the rows
    // already locked (three of jsmith's, one of k.lee's) are not rewritten, nor is any row when
    // the same lock runs again. Group 2 is jsmith and O'Brien; user jsmith alone; formula 3 is
    // used by groups 2 and 3 (jsmith, O'Brien, k.lee). mgone's group 1 uses none of them.
    const QString unlocked = "SELECT trans_id, hosp_acct_id, shift_date FROM trans_incentive WHERE locked = 0";
    const QStringList alwaysOpen = {
        "jsmith|102|2024-01-30", "jsmith|101|2024-01-30", "jsmith|101|2024-02-01", "jsmith|101|2024-02-05",
        "O'Brien|102|2024-02-01", "k.lee|102|2024-02-01", "k.lee|101|2024-02-01", "mgone|101|2024-01-22"};
    const QStringList groupOpen = alwaysOpen + QStringList{"k.lee|102|2024-01-02"};
    const QStringList userOpen = groupOpen + QStringList{"O'Brien|101|2024-01-15", "O'Brien|101|2024-01-29"};
    const struct {
        const char* name;
        std::function<QString(const QString&)> statement;
        int changes;
        QStringList open;
    } locks[] = {{"group", [](const QString& date) { return GroupAccount::lockStatement(2, date); }, 6, groupOpen},
                 {"user", [](const QString& date) { return UserGroupAssignment::lockStatement("jsmith", date); },
                  4, userOpen},
                 {"formula", [](const QString& date) { return FormulaEditing::lockStatement(3, date, false); }, 7,
                  alwaysOpen}};
    const std::pair<QString, QString> dates[] = {{us, "01/30/2024"}, {dotted, "30.01.2024"}, {us, "2024-01-30"}};
    for (const auto& lock : locks) {
        for (const auto& [format, date] : dates)
            corpusRow(QByteArray("lock, ") + lock.name + ", " + date.toUtf8(), unlocked, lock.open,
                      {{lock.statement(date), lock.changes}, {lock.statement(date), 0}}, format);
    }

    // The new effective dates are stored as dates; the group save writes no blank before WHERE.
    const QString stored = "SELECT group_id, incentive_effective_date FROM Incentive_group WHERE group_id "
                           "IN (2, 3) UNION ALL SELECT incentive_group_id, incentive_effective_date FROM "
                           "Trans_info WHERE trans_id = 'jsmith'";
    for (const auto& [format, date] : {dates[0], dates[1], std::pair{dotted, QString("2024-01-30")}})
        corpusRow("effective dates, " + date.toUtf8(), stored, {"2|2024-01-30", "3|2024-02-01", "3|2024-01-30"},
                  {{GroupAccount::effectiveDateStatement(2, date)},
                   {UserGroupAssignment::assignStatement("jsmith", 3, date)}},
                  format);

    // A text that only looks like a date is a text: stored and found unchanged.
    for (const auto& [format, name] : dates)
        corpusRow("date-like group name, " + name.toUtf8(),
                  "SELECT group_id, group_name FROM Incentive_group WHERE GROUP_NAME = '" + name + "'",
                  {"3|" + name}, {{"UPDATE Incentive_group SET GROUP_NAME = '" + name + "' WHERE GROUP_ID = 3"}},
                  format);

    corpusRow("group formula assignment written",
              "SELECT group_id, account_id, typed_formula_id, hours_worked_formula_id, pay_formula_id "
              "FROM Incentive_group_formula WHERE account_id IN (101, 104) ORDER BY group_id",
              {"2|101|3|1|4", "3|104|NULL|NULL|2", "4|104|1|1|1"},
              {{GroupAccount::updateStatement(2, 101, 4)}, {GroupAccount::insertStatement(3, 104, 2)}});
    // clang-format on
}

VELORA_TEST(TestLockCorpus)
#include "TestLockCorpus.moc"
