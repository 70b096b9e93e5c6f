#pragma once

#include <vector>

namespace velora::db {

// One node of a statement's tree: a token, or a parenthesised part or a CASE ... END whose
// children are the level inside it, so that operands and lists are found without counting
// parentheses. Internal to the translator.
struct TsqlTreeNode {
    enum class Kind { Token, Group, Case };
    Kind kind = Kind::Token;
    int token = 0; // Token: the token; Group: "("; Case: CASE
    int close = 0; // Group: ")"; Case: END
    std::vector<TsqlTreeNode> children;
};
using TsqlTreeNodes = std::vector<TsqlTreeNode>;

// An item "alias = expression" of a select list, by node index within its level.
struct TsqlSelectAlias {
    int name;
    int expressionBegin;
    int expressionEnd;
};

} // namespace velora::db
