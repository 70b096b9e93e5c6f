#pragma once

#include "TsqlLexer.h"
#include "TsqlTreeNode.h"

#include <QLatin1String>
#include <utility>
#include <vector>

namespace velora::db {

// The tokens of one statement as a tree (see TsqlTreeNode), and the questions the translator
// asks about a level of it: where an operand, a term or a dotted name ends, and where the
// items of a comma-separated list lie. Internal to the translator.
class TsqlTree {
public:
    using Node = TsqlTreeNode;
    using Nodes = TsqlTreeNodes;
    using Tokens = std::vector<TsqlToken>;

    // The tree of tokens [0, end). Throws DbError for unbalanced parentheses or CASE ... END
    // and for nesting too deep.
    TsqlTree(const Tokens& tokens, int end);

    const Nodes& root() const { return root_; }

    const TsqlToken& token(int index) const { return tokens_[static_cast<size_t>(index)]; }
    const TsqlToken& tok(const Node& node) const { return token(node.token); }
    static bool isTokenNode(const Node& node) { return node.kind == Node::Kind::Token; }
    bool nodeIs(const Nodes& level, int i, bool (*predicate)(const TsqlToken&)) const {
        return i >= 0 && i < size(level) && isTokenNode(level[i]) && predicate(tok(level[i]));
    }
    bool nodeIsKeyword(const Nodes& level, int i, QLatin1String word) const {
        return i >= 0 && i < size(level) && isTokenNode(level[i]) && tok(level[i]).isKeyword(word);
    }
    bool nodeIsOperator(const Nodes& level, int i, QLatin1String op) const {
        return i >= 0 && i < size(level) && isTokenNode(level[i]) && tok(level[i]).isOperator(op);
    }
    static int size(const Nodes& level) { return static_cast<int>(level.size()); }

    // End of the name "a.b.c" (or "t.*") starting at i.
    int chainEnd(const Nodes& level, int i) const;
    // A name directly followed by parentheses calls a function (LEFT and RIGHT are keywords
    // that are functions too).
    static bool isFunctionName(const TsqlToken& t);
    // Index just past the operand (literal, name, function call, parenthesised part, CASE)
    // starting at i; -1 when no operand starts there.
    int primaryEnd(const Nodes& level, int i) const;
    bool startsOperand(const Nodes& level, int i) const;
    // End of the term starting at i: signs and operands joined by * / %.
    int termEnd(const Nodes& level, int i, int end) const;
    // The [begin, end) ranges of the items of the list in [begin, end).
    std::vector<std::pair<int, int>> commaSeparated(const Nodes& level, int begin, int end) const;

private:
    const Tokens& tokens_;
    Nodes root_;
};

} // namespace velora::db
