#include "TsqlTree.h"

#include "DbError.h"
#include "TsqlSyntax.h"

namespace velora::db {

using namespace tsql;

namespace {

using Type = TsqlToken::Type;
using Node = TsqlTreeNode;
using Nodes = TsqlTreeNodes;

// Parentheses and CASE ... END deeper than this are refused rather than risking the stack.
constexpr int MaxNesting = 200;

class TreeBuilder {
public:
    TreeBuilder(const TsqlTree::Tokens& tokens, int end)
        : tokens_(tokens)
        , end_(end) {}

    Nodes build() { return level(0, Node::Kind::Token); }

private:
    // Reads nodes up to the closing token of `opener` (Token: the end of the statement).
    Nodes level(int depth, Node::Kind opener) {
        if (depth > MaxNesting)
            throw DbError(ErrorNumber::CommandError,
                          QStringLiteral("Some part of your SQL statement is nested too deeply. "
                                         "Rewrite the query or break it up into smaller queries."));
        Nodes nodes;
        while (pos_ < end_) {
            const TsqlToken& t = tokens_[pos_];
            if (t.isOperator(QLatin1String(")")) || t.isKeyword(QLatin1String("END"))) {
                const bool closesHere = t.type == Type::Operator ? opener == Node::Kind::Group
                                                                 : opener == Node::Kind::Case;
                if (!closesHere)
                    syntaxError(t.text);
                return nodes;
            }
            Node node;
            node.token = pos_++;
            if (t.isOperator(QLatin1String("(")))
                node.kind = Node::Kind::Group;
            else if (t.isKeyword(QLatin1String("CASE")))
                node.kind = Node::Kind::Case;
            if (node.kind != Node::Kind::Token) {
                node.children = level(depth + 1, node.kind);
                if (pos_ >= end_)
                    syntaxError(tokens_[end_ - 1].text);
                node.close = pos_++;
            }
            nodes.push_back(std::move(node));
        }
        return nodes;
    }

    const TsqlTree::Tokens& tokens_;
    int end_;
    int pos_ = 0;
};

} // namespace

TsqlTree::TsqlTree(const Tokens& tokens, int end)
    : tokens_(tokens)
    , root_(TreeBuilder(tokens, end).build()) {}

int TsqlTree::chainEnd(const Nodes& level, int i) const {
    int j = i + 1;
    while (nodeIsOperator(level, j, QLatin1String(".")) && j + 1 < size(level) &&
           isTokenNode(level[j + 1])) {
        const TsqlToken& part = tok(level[j + 1]);
        if (part.isOperator(QLatin1String("*")))
            return j + 2;
        if (part.type != Type::Identifier && part.type != Type::QuotedIdentifier)
            break;
        j += 2;
    }
    return j;
}

bool TsqlTree::isFunctionName(const TsqlToken& t) {
    return isName(t) || t.isKeyword(QLatin1String("LEFT")) || t.isKeyword(QLatin1String("RIGHT"));
}

int TsqlTree::primaryEnd(const Nodes& level, int i) const {
    const Node& node = level[i];
    if (!isTokenNode(node))
        return i + 1;
    const TsqlToken& t = tok(node);
    switch (t.type) {
    case Type::Number:
    case Type::Binary:
    case Type::String:
    case Type::Variable:
        return i + 1;
    case Type::Operator:
        return -1;
    case Type::Identifier:
    case Type::QuotedIdentifier:
        break;
    }
    if (t.isKeyword(QLatin1String("NULL")))
        return i + 1;
    const bool call = i + 1 < size(level) && level[i + 1].kind == Node::Kind::Group;
    if (!isName(t) && !(call && isFunctionName(t)))
        return -1;
    const int end = chainEnd(level, i);
    return end < size(level) && level[end].kind == Node::Kind::Group ? end + 1 : end;
}

bool TsqlTree::startsOperand(const Nodes& level, int i) const {
    return nodeIs(level, i, isUnary) || primaryEnd(level, i) >= 0;
}

int TsqlTree::termEnd(const Nodes& level, int i, int end) const {
    for (;;) {
        while (i < end && nodeIs(level, i, isUnary))
            ++i;
        if (i >= end)
            syntaxError(tok(level[i - 1]).text);
        const int next = primaryEnd(level, i);
        if (next < 0 || next > end)
            syntaxError(tok(level[i]).text);
        i = next;
        if (i < end && nodeIs(level, i, isMultiplicative)) {
            ++i;
            continue;
        }
        return i;
    }
}

std::vector<std::pair<int, int>> TsqlTree::commaSeparated(const Nodes& level, int begin,
                                                          int end) const {
    std::vector<std::pair<int, int>> items;
    int start = begin;
    for (int i = begin; i < end; ++i) {
        if (nodeIsOperator(level, i, QLatin1String(","))) {
            items.emplace_back(start, i);
            start = i + 1;
        }
    }
    if (start < end || !items.empty())
        items.emplace_back(start, end);
    return items;
}

} // namespace velora::db
