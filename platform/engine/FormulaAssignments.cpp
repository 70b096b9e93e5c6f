#include "FormulaAssignments.h"

#include "db/Connection.h"

namespace velora::engine {

namespace {

qint64 pairKey(int a, int b) {
    return (static_cast<qint64>(a) << 32) | static_cast<quint32>(b);
}

int formulaIdOr(const QVariant& value, int fallback) {
    return value.isNull() ? fallback : value.toInt();
}

} // namespace

FormulaAssignments FormulaAssignments::load(db::Connection& connection, bool partitionMode) {
    FormulaAssignments result;
    result.partitionMode_ = partitionMode;
    for (db::Recordset rs = connection.openRecordset(QStringLiteral(
             "SELECT formula_id, formula_text, formula_name FROM Incentive_formula"));
         !rs.eof(); rs.moveNext()) {
        result.formulaTexts_.insert(rs.value(0).toInt(), rs.value(1).toString());
        result.formulaNames_.insert(rs.value(0).toInt(), rs.value(2).toString().trimmed());
    }
    for (db::Recordset rs = connection.openRecordset(QStringLiteral(
             "SELECT group_id, account_id, typed_formula_id, "
             "hours_worked_formula_id, pay_formula_id FROM Incentive_group_formula"));
         !rs.eof(); rs.moveNext())
        result.assignments_.insert(pairKey(rs.value(0).toInt(), rs.value(1).toInt()),
                                   Assignment{rs.value(2), rs.value(3), rs.value(4)});
    if (!partitionMode)
        return result;
    for (db::Recordset rs = connection.openRecordset(
             QStringLiteral("SELECT group_id, partition_id FROM Incentive_group"));
         !rs.eof(); rs.moveNext())
        result.groupPartitions_.insert(rs.value(0).toInt(), rs.value(1).toInt());
    for (db::Recordset rs = connection.openRecordset(
             QStringLiteral("SELECT hosp_acct_id, partition_id FROM Account_info"));
         !rs.eof(); rs.moveNext())
        result.accountPartitions_.insert(rs.value(0).toInt(), rs.value(1).toInt());
    for (const int partition :
         QSet<int>(result.groupPartitions_.cbegin(), result.groupPartitions_.cend())) {
        QSet<int> tree;
        for (db::Recordset rs = connection.openRecordset(
                 QStringLiteral("EXEC partition_select_children ") + QString::number(partition));
             !rs.eof(); rs.moveNext())
            tree.insert(rs.value(QStringLiteral("partition_id")).toInt());
        result.partitionTrees_.insert(partition, tree);
    }
    return result;
}

const FormulaAssignments::Assignment* FormulaAssignments::findAssignment(int groupId,
                                                                         int accountId) const {
    const auto it = assignments_.constFind(pairKey(groupId, accountId));
    return it == assignments_.cend() ? nullptr : &it.value();
}

bool FormulaAssignments::accountOutsideGroup(int groupId, int accountId) const {
    const auto group = groupPartitions_.constFind(groupId);
    const auto account = accountPartitions_.constFind(accountId);
    if (group == groupPartitions_.cend() || account == accountPartitions_.cend())
        return false;
    return !partitionTrees_.value(group.value()).contains(account.value());
}

const CompiledFormula* FormulaAssignments::compiled(int formulaId, FormulaError& error) {
    auto it = compiled_.find(formulaId);
    if (it == compiled_.end()) {
        CompileResult result;
        const auto text = formulaTexts_.constFind(formulaId);
        if (text == formulaTexts_.cend()) {
            result.error.number = 5;
            result.error.description = QStringLiteral("Formula %1 does not exist.").arg(formulaId);
        } else {
            result.formula = CompiledFormula::compile(text.value(), result.error);
        }
        it = compiled_.emplace(formulaId, std::move(result)).first;
    }
    error = it->second.error;
    return it->second.formula.get();
}

FormulaSet FormulaAssignments::resolve(int groupId, int accountId) {
    const Assignment* assignment = findAssignment(groupId, accountId);
    if (!assignment) {
        const int fallbackAccount =
            partitionMode_ && accountOutsideGroup(groupId, accountId) ? -3 : -1;
        assignment = findAssignment(groupId, fallbackAccount);
    }
    FormulaSet set;
    if (assignment) {
        set.payId = formulaIdOr(assignment->pay, 1);
        set.typedId = formulaIdOr(assignment->typed, set.payId);
        set.hoursId = formulaIdOr(assignment->hours, set.payId);
    }
    FormulaError error;
    for (auto [id, slot] : {std::pair{set.typedId, &set.typed}, std::pair{set.hoursId, &set.hours},
                            std::pair{set.payId, &set.pay}}) {
        *slot = compiled(id, error);
        if (!*slot && set.usable()) {
            set.failedFormulaId = id;
            set.failure = error;
        }
    }
    return set;
}

const FormulaSet& FormulaAssignments::lookup(int groupId, int accountId) {
    const qint64 key = pairKey(groupId, accountId);
    auto it = sets_.find(key);
    if (it == sets_.end())
        it = sets_.emplace(key, resolve(groupId, accountId)).first;
    return it->second;
}

} // namespace velora::engine
