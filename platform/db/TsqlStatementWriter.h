#pragma once

#include "SqliteTextWriter.h"
#include "TsqlDateRewriter.h"
#include "TsqlTargetType.h"
#include "TsqlTree.h"

#include <QString>
#include <vector>

namespace velora::db {

// Writes the SQLite text of a statement tree, level by level, rewriting what SQLite reads
// differently: "+" becomes vl_add (concatenation or addition), ISNULL becomes ifnull,
// CONVERT and CAST become SQLite casts (rounding for decimals, cutting for texts),
// "alias = expression" select items become "expression AS alias", the literals that meet a
// date column take the stored form, and what SQLite cannot run (TOP, ^, variables) fails.
// Internal to the translator.
class TsqlStatementWriter {
public:
    using Node = TsqlTreeNode;
    using Nodes = TsqlTreeNodes;

    TsqlStatementWriter(const TsqlTree& tree, TsqlDateRewriter& dates);

    // The SQLite text of the whole tree; called once.
    QString write();

private:
    // The "alias = expression" items of every select list on this level, in order.
    std::vector<TsqlSelectAlias> findSelectAliases(const Nodes& level) const;

    void emitLevel(const Nodes& level);
    void emitRange(const Nodes& level, int begin, int end,
                   const std::vector<TsqlSelectAlias>& aliases);
    int emitExpression(const Nodes& level, int begin, int end);
    void emitTerm(const Nodes& level, int begin, int end);
    void emitGroup(const Node& group);
    void emitPrimary(const Nodes& level, int begin, int end);
    void emitChain(const Nodes& level, int begin, int end);
    void emitName(const TsqlToken& t, bool space);
    void emitCall(const Nodes& level, int begin, int end);
    void emitConvert(const TsqlToken& name, const Node& arguments);
    void emitCast(const TsqlToken& name, const Node& arguments);
    void emitConversion(const TsqlTargetType& target, const Nodes& args, int begin, int end,
                        bool space);
    void emitKeywordOrOperator(const TsqlToken& t);

    bool spaceBefore(const Node& node) const { return tree_.tok(node).spaceBefore; }

    const TsqlTree& tree_;
    TsqlDateRewriter& dates_;
    SqliteTextWriter out_;
};

} // namespace velora::db
