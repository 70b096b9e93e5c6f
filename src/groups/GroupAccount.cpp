#include "GroupAccount.h"

#include "EffectiveDateProcedure.h"
#include "FindListIndexByItemData.h"
#include "GroupAccountPane.h"
#include "catalogue/Catalogue.h"
#include "catalogue/PartitionAccess.h"
#include "catalogue/QuoteSql.h"
#include "catalogue/SqlNumber.h"
#include "common/Messages.h"
#include "db/Connection.h"
#include "suite/HXRegion.h"

#include <QComboBox>
#include <QLabel>

namespace velora::groups {

namespace {

const QString kNotChanged = QStringLiteral("The group formula assignment has not been changed.");

QString changePrompt(const QString& groupName) {
    return QStringLiteral("The ") + groupName +
           QStringLiteral(" group formula assignment has changed. All items for this account will "
                          "be locked up til the effective date you enter in the following box:");
}

QString number(int value) {
    return QString::number(value);
}

} // namespace

GroupAccount::GroupAccount(GroupAccountEnvironment environment, GroupAccountPane& pane)
    : env_(std::move(environment))
    , pane_(pane) {}

QString GroupAccount::loadStatement(int groupID, int accountID) {
    return QStringLiteral("SELECT typed_formula_id, hours_worked_formula_id, pay_formula_id, "
                          "incentive_effective_date FROM Incentive_group_formula, Incentive_group "
                          "WHERE Incentive_group.group_id = Incentive_group_formula.group_id AND "
                          "Incentive_group_formula.group_id = ") +
           number(groupID) + QStringLiteral(" AND account_id = ") + number(accountID);
}

QString GroupAccount::latestLockedStatement(int groupID, int accountID, const QString& date) {
    return QStringLiteral("SELECT MAX(shift_date) FROM trans_incentive, trans_info WHERE "
                          "trans_info.trans_id = trans_incentive.trans_id AND "
                          "trans_info.incentive_group_id = '") +
           number(groupID) + QStringLiteral("' AND locked = 1 AND hosp_acct_id = ") +
           number(accountID) + QStringLiteral(" AND shift_date > '") + catalogue::QuoteSql(date) +
           QStringLiteral("'");
}

// Every account of every user now in the group, not only the edited account. Rows already
// locked are left alone: rewriting them changes nothing but costs a write per row. The group's
// users are found once and their rows through the index, not by a subquery per row.
QString GroupAccount::lockStatement(int groupID, const QString& date) {
    return QStringLiteral("UPDATE trans_incentive SET locked = 1 WHERE trans_incentive.trans_id "
                          "IN (SELECT trans_info.trans_id FROM trans_info WHERE "
                          "trans_info.incentive_group_id = ") +
           number(groupID) + QStringLiteral(") AND trans_incentive.shift_date < '") +
           catalogue::QuoteSql(date) + QStringLiteral("' AND trans_incentive.locked = 0");
}

QString GroupAccount::updateStatement(int groupID, int accountID, int payFormulaID) {
    return QStringLiteral("UPDATE Incentive_group_formula SET pay_formula_id = ") +
           number(payFormulaID) + QStringLiteral(" WHERE group_id = ") + number(groupID) +
           QStringLiteral(" AND account_id = ") + number(accountID);
}

QString GroupAccount::insertStatement(int groupID, int accountID, int payFormulaID) {
    return QStringLiteral("INSERT INTO Incentive_group_formula (group_id, account_id, "
                          "pay_formula_id) VALUES(") +
           number(groupID) + QStringLiteral(", ") + number(accountID) + QStringLiteral(", ") +
           number(payFormulaID) + QStringLiteral(")");
}

QString GroupAccount::effectiveDateStatement(int groupID, const QString& date) {
    return QStringLiteral("UPDATE Incentive_group SET incentive_effective_date = '") +
           catalogue::QuoteSql(date) + QStringLiteral("'WHERE group_id = ") + number(groupID);
}

void GroupAccount::reset() {
    group_.reset();
    groupID_ = 0;
    accountID_ = 0;
    storedPayFormulaID_ = 0;
    rowExists_ = false;
}

void GroupAccount::LoadGroupAccount(const QString& groupID, const QString& accountID,
                                    const QString& accountName, const QString& groupName) {
    reset();
    if (!env_.fullMode())
        return;
    env_.beginBusy();
    try {
        load(groupID, accountID, accountName, groupName);
    } catch (const std::exception&) {
        // Nothing half-loaded may be saved on leaving the node.
        reset();
        env_.messages.inform(QStringLiteral("Error: cannot load group data"),
                             common::MessageIcon::Critical);
    }
    env_.endBusy();
}

void GroupAccount::load(const QString& groupID, const QString& accountID,
                        const QString& accountName, const QString& groupName) {
    env_.connection.ensureOpen();
    const int group = catalogue::SqlNumber(groupID).toInt();
    const int account = catalogue::SqlNumber(accountID).toInt();
    group_ = catalogue::GetObjectFromCollection(env_.catalogue.groups(), number(group));
    db::Recordset row = env_.connection.openRecordset(loadStatement(group, account));
    QComboBox& list = *pane_.cmbAccountPayFormula();
    const bool found = !row.eof();
    if (!env_.partitionMode)
        list.setCurrentIndex(FindListIndexByItemData(
            list, found ? row.value(QStringLiteral("pay_formula_id")).toInt() : 1));
    pane_.lblGroupAccountEffectiveDate()->setText(
        found ? env_.region.formatDate(row.date(QStringLiteral("incentive_effective_date")))
              : QStringLiteral("1/1/1980"));
    pane_.lblGroupAccountAccountName()->setText(accountName);
    pane_.lblGroupAccountGroupName()->setText(groupName);
    groupID_ = group;
    accountID_ = account;
    rowExists_ = found;
    if (found)
        storedPayFormulaID_ = row.value(QStringLiteral("pay_formula_id")).toInt();
    env_.showPane();
}

void GroupAccount::FillPayFormulaList() {
    try {
        env_.connection.ensureOpen();
        pane_.cmbAccountPayFormula()->clear();
        if (env_.partitionMode)
            fillFromCatalogue();
        else
            fillFromDatabase();
    } catch (const std::exception&) {
        env_.messages.inform(QStringLiteral("Error: cannot load formula list"),
                             common::MessageIcon::Critical);
    }
    closeConnection();
}

void GroupAccount::fillFromDatabase() {
    QComboBox& list = *pane_.cmbAccountPayFormula();
    for (db::Recordset formulas = env_.connection.openRecordset(
             QStringLiteral("SELECT FORMULA_NAME, FORMULA_ID FROM Incentive_formula ") +
             QStringLiteral("ORDER BY formula_name"));
         !formulas.eof(); formulas.moveNext())
        list.addItem(formulas.text(QStringLiteral("FORMULA_NAME")),
                     formulas.value(QStringLiteral("FORMULA_ID")).toInt());
    // A combo box selects its first entry as it fills; the load selects the stored formula.
    list.setCurrentIndex(-1);
}

// The current group's partition's formulas in the catalogue's order, the stored one selected.
// Without a stored formula nothing is selected, so leaving the node asks nothing.
void GroupAccount::fillFromCatalogue() {
    QComboBox& list = *pane_.cmbAccountPayFormula();
    list.setCurrentIndex(-1);
    if (!group_)
        return;
    const auto partition = catalogue::GetObjectFromCollection(env_.catalogue.partitions(),
                                                              number(group_->PartitionID()));
    const QString partitionName = partition ? partition->PartitionName() : QString();
    int selected = -1;
    for (const auto& formula : env_.catalogue.formulas()) {
        if (formula->PartitionID() != group_->PartitionID())
            continue;
        list.addItem(catalogue::PartitionQualifiedName(formula->FormulaName(), partitionName,
                                                       env_.partitionDisplay()),
                     formula->FormulaID());
        if (formula->FormulaID() == storedPayFormulaID_)
            selected = list.count() - 1;
    }
    list.setCurrentIndex(selected);
}

bool GroupAccount::GroupAccountChanged() const {
    const QComboBox& list = *pane_.cmbAccountPayFormula();
    return groupID_ != 0 && list.currentIndex() >= 0 &&
           list.currentData().toInt() != storedPayFormulaID_;
}

void GroupAccount::SaveGroupAccount() {
    try {
        save();
    } catch (const std::exception&) {
        env_.messages.inform(QStringLiteral("Error: cannot save group data"),
                             common::MessageIcon::Critical);
    }
    closeConnection();
}

void GroupAccount::save() {
    env_.connection.ensureOpen();
    // The mode is checked here too: a node hidden from an operator is no permission.
    if (!env_.fullMode() || !GroupAccountChanged())
        return;
    const int group = groupID_;
    const int account = accountID_;
    EffectiveDateRequest request;
    request.title = QStringLiteral("Effective Date");
    request.prompt = changePrompt(pane_.lblGroupAccountGroupName()->text());
    request.variant = EffectiveDateVariant::GroupOrUser;
    request.maximumQuery = [=](const QString& date) {
        return latestLockedStatement(group, account, date);
    };
    request.lockStatement = [=](const QString& date) { return lockStatement(group, date); };

    const EffectiveDateOutcome outcome = env_.effectiveDate.Run(env_.connection, request);
    if (outcome.kind != EffectiveDateOutcome::Kind::Locked) {
        env_.messages.inform(kNotChanged);
        return;
    }
    write(outcome.date);
}

// The row written once exists from then on: a second change on the same node updates it.
void GroupAccount::write(const QString& date) {
    const int payFormulaID = pane_.cmbAccountPayFormula()->currentData().toInt();
    env_.connection.execute(rowExists_ ? updateStatement(groupID_, accountID_, payFormulaID)
                                       : insertStatement(groupID_, accountID_, payFormulaID));
    storedPayFormulaID_ = payFormulaID;
    rowExists_ = true;
    env_.connection.execute(effectiveDateStatement(groupID_, date));
}

void GroupAccount::closeConnection() {
    if (env_.connection.isOpen())
        env_.connection.close();
}

} // namespace velora::groups
