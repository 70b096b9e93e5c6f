#include "TsqlDateRewriter.h"

#include "DbError.h"
#include "TsqlSyntax.h"
#include "TsqlTranslator.h"

namespace velora::db {

using namespace tsql;

namespace {

using Type = TsqlToken::Type;

// SQL Server reads a date string of nothing but blanks as its base date.
const QLatin1String BaseDate("1900-01-01");

} // namespace

TsqlDateRewriter::TsqlDateRewriter(const TsqlTranslator& owner, const TsqlTree& tree,
                                   int tokenCount)
    : owner_(owner)
    , tree_(tree)
    , marked_(static_cast<size_t>(tokenCount), false) {}

TsqlDateRewriter::Operand TsqlDateRewriter::classify(const Nodes& level, int begin, int end) const {
    if (begin >= end)
        return {};
    const Node& first = level[begin];
    if (end - begin == 1 && first.kind == Node::Kind::Group)
        return classify(first.children, 0, TsqlTree::size(first.children));
    if (!TsqlTree::isTokenNode(first))
        return {};
    const TsqlToken& t = tree_.tok(first);
    if (end - begin == 1 && t.type == Type::String)
        return {OperandKind::Literal, first.token};
    if (!isName(t) || tree_.chainEnd(level, begin) != end)
        return {};
    return isDateColumnName(tree_.tok(level[end - 1]).name()) ? Operand{OperandKind::DateColumn, -1}
                                                              : Operand{};
}

// Start of the operand that ends at `last`, when nothing binds it to what comes before.
std::optional<int> TsqlDateRewriter::operandEndingAt(const Nodes& level, int last) const {
    if (last < 0)
        return std::nullopt;
    int start = last;
    const Node& node = level[last];
    if (node.kind == Node::Kind::Group) {
        if (tree_.nodeIs(level, last - 1, isName))
            return std::nullopt; // the arguments of a function call
    } else if (TsqlTree::isTokenNode(node) && isName(tree_.tok(node))) {
        while (tree_.nodeIsOperator(level, start - 1, QLatin1String(".")) && start >= 2 &&
               TsqlTree::isTokenNode(level[start - 2]) && isName(tree_.tok(level[start - 2])))
            start -= 2;
    } else if (!(TsqlTree::isTokenNode(node) && tree_.tok(node).type == Type::String)) {
        return std::nullopt;
    }
    if (tree_.nodeIs(level, start - 1, isArithmetic) ||
        tree_.nodeIsOperator(level, start - 1, QLatin1String(".")))
        return std::nullopt;
    return start;
}

// End of the operand that starts at `first`, when nothing binds it to what follows.
std::optional<int> TsqlDateRewriter::operandStartingAt(const Nodes& level, int first) const {
    if (first >= TsqlTree::size(level))
        return std::nullopt;
    const Node& node = level[first];
    int end = first + 1;
    if (TsqlTree::isTokenNode(node)) {
        const TsqlToken& t = tree_.tok(node);
        if (isName(t))
            end = tree_.chainEnd(level, first);
        else if (t.type != Type::String)
            return std::nullopt;
    }
    if (end < TsqlTree::size(level) &&
        (level[end].kind == Node::Kind::Group || tree_.nodeIs(level, end, isArithmetic) ||
         tree_.nodeIsOperator(level, end, QLatin1String("."))))
        return std::nullopt;
    return end;
}

TsqlDateRewriter::Operand TsqlDateRewriter::operandBefore(const Nodes& level, int last) const {
    const std::optional<int> start = operandEndingAt(level, last);
    return start ? classify(level, *start, last + 1) : Operand{};
}

TsqlDateRewriter::Operand TsqlDateRewriter::operandAfter(const Nodes& level, int first) const {
    const std::optional<int> end = operandStartingAt(level, first);
    return end ? classify(level, first, *end) : Operand{};
}

void TsqlDateRewriter::markIfLiteral(const Operand& operand) {
    if (operand.kind == OperandKind::Literal)
        marked_[static_cast<size_t>(operand.literal)] = true;
}

void TsqlDateRewriter::markComparedDates(const Nodes& level,
                                         const std::vector<TsqlSelectAlias>& aliases) {
    size_t nextAlias = 0;
    for (int i = 0; i < TsqlTree::size(level); ++i) {
        if (!TsqlTree::isTokenNode(level[i]))
            continue;
        const TsqlToken& t = tree_.tok(level[i]);
        if (isComparison(t)) {
            while (nextAlias < aliases.size() && aliases[nextAlias].name + 1 < i)
                ++nextAlias;
            if (nextAlias < aliases.size() && aliases[nextAlias].name + 1 == i)
                continue; // "alias = expression" assigns, it does not compare
            const Operand left = operandBefore(level, i - 1);
            const Operand right = operandAfter(level, i + 1);
            if (left.kind == OperandKind::DateColumn)
                markIfLiteral(right);
            if (right.kind == OperandKind::DateColumn)
                markIfLiteral(left);
        } else if (t.isKeyword(QLatin1String("BETWEEN"))) {
            markBetween(level, i);
        } else if (t.isKeyword(QLatin1String("IN"))) {
            markInList(level, i);
        }
    }
}

int TsqlDateRewriter::operandEndBeforeNot(const Nodes& level, int keyword) const {
    return tree_.nodeIsKeyword(level, keyword - 1, QLatin1String("NOT")) ? keyword - 2
                                                                         : keyword - 1;
}

void TsqlDateRewriter::markBetween(const Nodes& level, int between) {
    if (operandBefore(level, operandEndBeforeNot(level, between)).kind != OperandKind::DateColumn)
        return;
    // A bound holds no BETWEEN of this level, which keeps the search linear.
    int conjunction = between + 1;
    while (conjunction < TsqlTree::size(level) &&
           !tree_.nodeIsKeyword(level, conjunction, QLatin1String("AND"))) {
        if (tree_.nodeIsKeyword(level, conjunction, QLatin1String("BETWEEN")))
            return;
        ++conjunction;
    }
    if (conjunction >= TsqlTree::size(level))
        return;
    markIfLiteral(classify(level, between + 1, conjunction));
    markIfLiteral(operandAfter(level, conjunction + 1));
}

void TsqlDateRewriter::markInList(const Nodes& level, int in) {
    if (in + 1 >= TsqlTree::size(level) || level[in + 1].kind != Node::Kind::Group ||
        operandBefore(level, operandEndBeforeNot(level, in)).kind != OperandKind::DateColumn)
        return;
    const Nodes& items = level[in + 1].children;
    for (const auto& [begin, end] : tree_.commaSeparated(items, 0, TsqlTree::size(items)))
        markIfLiteral(classify(items, begin, end));
}

void TsqlDateRewriter::markInsertedDates(const Nodes& level) {
    if (!tree_.nodeIsKeyword(level, 0, QLatin1String("INSERT")))
        return;
    int i = tree_.nodeIsKeyword(level, 1, QLatin1String("INTO")) ? 2 : 1;
    if (i >= TsqlTree::size(level) || !TsqlTree::isTokenNode(level[i]) ||
        !isName(tree_.tok(level[i])))
        return;
    i = tree_.chainEnd(level, i);
    if (i >= TsqlTree::size(level) || level[i].kind != Node::Kind::Group)
        return;
    const Nodes& columns = level[i].children;
    std::vector<bool> isDate;
    for (const auto& [begin, end] : tree_.commaSeparated(columns, 0, TsqlTree::size(columns)))
        isDate.push_back(classify(columns, begin, end).kind == OperandKind::DateColumn);
    if (!tree_.nodeIsKeyword(level, ++i, QLatin1String("VALUES")))
        return;
    for (++i; i < TsqlTree::size(level) && level[i].kind == Node::Kind::Group; i += 2) {
        const Nodes& row = level[i].children;
        size_t column = 0;
        for (const auto& [begin, end] : tree_.commaSeparated(row, 0, TsqlTree::size(row))) {
            if (column < isDate.size() && isDate[column])
                markIfLiteral(classify(row, begin, end));
            ++column;
        }
        if (!tree_.nodeIsOperator(level, i + 1, QLatin1String(",")))
            break;
    }
}

QString TsqlDateRewriter::dateLiteral(const TsqlToken& token) const {
    const QString value = token.stringValue();
    const QString date =
        value.trimmed().isEmpty() ? QString(BaseDate) : owner_.normaliseDate(value);
    if (date.isEmpty())
        throw DbError(ErrorNumber::DataConversion,
                      QStringLiteral("Conversion failed when converting date and/or time from "
                                     "character string."));
    return QLatin1Char('\'') + date + QLatin1Char('\'');
}

} // namespace velora::db
