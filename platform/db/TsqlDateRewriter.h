#pragma once

#include "TsqlTree.h"

#include <QString>
#include <optional>
#include <vector>

namespace velora::db {

class TsqlTranslator;

// Finds the string literals of a statement that meet a date column (compared with it, a
// bound of its BETWEEN, an item of its IN list, or inserted into it) and writes them in the
// stored form "YYYY-MM-DD", so that a date in the regional short form compares and stores as
// the same date. A text that only looks like a date elsewhere is never changed. Internal to
// the translator.
class TsqlDateRewriter {
public:
    using Node = TsqlTreeNode;
    using Nodes = TsqlTreeNodes;

    enum class OperandKind { Other, DateColumn, Literal };
    struct Operand {
        OperandKind kind = OperandKind::Other;
        int literal = -1; // Literal: the string token
    };

    TsqlDateRewriter(const TsqlTranslator& owner, const TsqlTree& tree, int tokenCount);

    // INSERT [INTO] table (columns) VALUES (row)[, (row)...]: a literal in a date column's place.
    void markInsertedDates(const Nodes& level);
    // Marks the string literals of this level that meet a date column through a comparison,
    // BETWEEN or IN. A comparison that is the "=" of an "alias = expression" item assigns.
    void markComparedDates(const Nodes& level, const std::vector<TsqlSelectAlias>& aliases);

    // The string literal `token` is written as a stored date.
    bool isMarked(int token) const { return marked_[static_cast<size_t>(token)]; }
    // The literal in the stored form, quoted; throws DbError when it is no date.
    QString dateLiteral(const TsqlToken& token) const;

    // What the nodes [begin, end) are when they form one operand on their own: a date column
    // ("shift_date", "T1.shift_date", "((shift_date))") or a string literal ("'x'", "('x')").
    Operand classify(const Nodes& level, int begin, int end) const;

private:
    std::optional<int> operandEndingAt(const Nodes& level, int last) const;
    std::optional<int> operandStartingAt(const Nodes& level, int first) const;
    Operand operandBefore(const Nodes& level, int last) const;
    Operand operandAfter(const Nodes& level, int first) const;
    int operandEndBeforeNot(const Nodes& level, int keyword) const;
    void markIfLiteral(const Operand& operand);
    void markBetween(const Nodes& level, int between);
    void markInList(const Nodes& level, int in);

    const TsqlTranslator& owner_;
    const TsqlTree& tree_;
    std::vector<bool> marked_; // by token: a string literal written as a stored date
};

} // namespace velora::db
