#pragma once

#include "CompiledFormula.h"

#include <QHash>
#include <QSet>
#include <memory>
#include <unordered_map>

namespace velora::db {
class Connection;
}

namespace velora::engine {

// The three formulas that compute one row's results, and why they cannot when one of them
// does not compile.
struct FormulaSet {
    int typedId = 1;
    int hoursId = 1;
    int payId = 1;
    const CompiledFormula* typed = nullptr;
    const CompiledFormula* hours = nullptr;
    const CompiledFormula* pay = nullptr;
    // Set when a formula is missing or does not compile: the rows of this set stay unchanged.
    int failedFormulaId = 0;
    FormulaError failure;

    bool usable() const { return failedFormulaId == 0; }
};

// Which formulas a group uses for an account, read once per run:
// the group's row for the account; without one, its row for -3 when (in partition mode) the
// account lies outside the group's partitions, otherwise its row for -1; without that,
// formula 1 for all three results. A NULL pay formula is formula 1; a NULL lines-typed or
// hours-worked formula is the pay formula.
class FormulaAssignments {
public:
    static FormulaAssignments load(db::Connection& connection, bool partitionMode);

    // Formulas for a user's group (-1 or unknown: none) and an account. Stable reference for
    // the whole run.
    const FormulaSet& lookup(int groupId, int accountId);

    const QHash<int, QString>& formulaNames() const { return formulaNames_; }

    // Compiles (once) a formula by id; nullptr with error filled when it cannot.
    const CompiledFormula* compiled(int formulaId, FormulaError& error);

private:
    struct Assignment {
        QVariant typed;
        QVariant hours;
        QVariant pay;
    };
    struct CompileResult {
        std::shared_ptr<const CompiledFormula> formula;
        FormulaError error;
    };

    const Assignment* findAssignment(int groupId, int accountId) const;
    bool accountOutsideGroup(int groupId, int accountId) const;
    FormulaSet resolve(int groupId, int accountId);

    bool partitionMode_ = false;
    QHash<int, QString> formulaTexts_;
    QHash<int, QString> formulaNames_;
    QHash<qint64, Assignment> assignments_; // (group << 32 | account)
    QHash<int, int> groupPartitions_;       // group -> partition
    QHash<int, int> accountPartitions_;     // account -> partition
    QHash<int, QSet<int>> partitionTrees_;  // partition -> its sub-tree
    std::unordered_map<int, CompileResult> compiled_;
    std::unordered_map<qint64, FormulaSet> sets_;
};

} // namespace velora::engine
