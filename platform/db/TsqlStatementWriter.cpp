#include "TsqlStatementWriter.h"

#include "DbError.h"
#include "TsqlSyntax.h"

#include <utility>

namespace velora::db {

using namespace tsql;

namespace {

using Type = TsqlToken::Type;

bool endsSelectList(const TsqlToken& t) {
    for (const char* word : {"FROM", "WHERE", "GROUP", "HAVING", "ORDER", "UNION", "EXCEPT",
                             "INTERSECT", "INTO", "FOR", "OPTION"}) {
        if (t.isKeyword(QLatin1String(word)))
            return true;
    }
    return false;
}

} // namespace

TsqlStatementWriter::TsqlStatementWriter(const TsqlTree& tree, TsqlDateRewriter& dates)
    : tree_(tree)
    , dates_(dates) {}

QString TsqlStatementWriter::write() {
    dates_.markInsertedDates(tree_.root());
    emitLevel(tree_.root());
    return out_.take();
}

std::vector<TsqlSelectAlias> TsqlStatementWriter::findSelectAliases(const Nodes& level) const {
    std::vector<TsqlSelectAlias> aliases;
    for (int i = 0; i < TsqlTree::size(level); ++i) {
        if (!tree_.nodeIsKeyword(level, i, QLatin1String("SELECT")))
            continue;
        int listEnd = i + 1;
        while (listEnd < TsqlTree::size(level) && !(TsqlTree::isTokenNode(level[listEnd]) &&
                                                    endsSelectList(tree_.tok(level[listEnd]))))
            ++listEnd;
        for (const auto& [begin, end] : tree_.commaSeparated(level, i + 1, listEnd)) {
            if (end - begin >= 3 && TsqlTree::isTokenNode(level[begin]) &&
                (isName(tree_.tok(level[begin])) || tree_.tok(level[begin]).type == Type::String) &&
                tree_.nodeIsOperator(level, begin + 1, QLatin1String("=")))
                aliases.push_back({begin, begin + 2, end});
        }
        i = listEnd - 1;
    }
    return aliases;
}

void TsqlStatementWriter::emitLevel(const Nodes& level) {
    const std::vector<TsqlSelectAlias> aliases = findSelectAliases(level);
    dates_.markComparedDates(level, aliases);
    emitRange(level, 0, TsqlTree::size(level), aliases);
}

void TsqlStatementWriter::emitRange(const Nodes& level, int begin, int end,
                                    const std::vector<TsqlSelectAlias>& aliases) {
    size_t nextAlias = 0;
    int i = begin;
    while (i < end) {
        while (nextAlias < aliases.size() && aliases[nextAlias].name < i)
            ++nextAlias;
        if (nextAlias < aliases.size() && aliases[nextAlias].name == i) {
            const TsqlSelectAlias& alias = aliases[nextAlias];
            const TsqlToken& name = tree_.tok(level[alias.name]);
            if (name.spaceBefore)
                out_.requestSpace();
            emitRange(level, alias.expressionBegin, alias.expressionEnd, {});
            out_.put(QLatin1String("AS"), true);
            emitName(name, true);
            i = alias.expressionEnd;
        } else if (tree_.startsOperand(level, i)) {
            i = emitExpression(level, i, end);
        } else {
            emitKeywordOrOperator(tree_.tok(level[i]));
            ++i;
        }
    }
}

// An additive expression: "+" becomes vl_add, left-associative, so "a - b + c" is written
// "vl_add(a - b, c)". "&" and "|" share the level of "+" in T-SQL but bind more loosely in
// SQLite, hence their parentheses.
int TsqlStatementWriter::emitExpression(const Nodes& level, int begin, int end) {
    struct Term {
        int op;
        int begin;
        int end;
    };
    std::vector<Term> terms{{-1, begin, tree_.termEnd(level, begin, end)}};
    while (terms.back().end < end && tree_.nodeIs(level, terms.back().end, isAdditive)) {
        const int op = terms.back().end;
        terms.push_back({op, op + 1, tree_.termEnd(level, op + 1, end)});
    }
    bool space = spaceBefore(level[begin]);
    for (size_t k = terms.size() - 1; k >= 1; --k) {
        const TsqlToken& op = tree_.tok(level[terms[k].op]);
        if (op.isOperator(QLatin1String("+")))
            out_.put(QLatin1String("vl_add("), std::exchange(space, false));
        else if (!op.isOperator(QLatin1String("-")))
            out_.put(QLatin1String("("), std::exchange(space, false));
    }
    if (space)
        out_.requestSpace();
    emitTerm(level, terms[0].begin, terms[0].end);
    for (size_t k = 1; k < terms.size(); ++k) {
        const TsqlToken& op = tree_.tok(level[terms[k].op]);
        const bool plus = op.isOperator(QLatin1String("+"));
        if (plus)
            out_.put(QLatin1String(", "), false);
        else
            out_.put(op.text, op.spaceBefore);
        emitTerm(level, terms[k].begin, terms[k].end);
        if (!op.isOperator(QLatin1String("-")))
            out_.put(QLatin1String(")"), false);
    }
    return terms.back().end;
}

void TsqlStatementWriter::emitTerm(const Nodes& level, int begin, int end) {
    int i = begin;
    while (i < end) {
        if (tree_.nodeIs(level, i, isUnary) || tree_.nodeIs(level, i, isMultiplicative)) {
            out_.put(tree_.tok(level[i]).text, spaceBefore(level[i]));
            ++i;
        } else {
            const int next = tree_.primaryEnd(level, i);
            emitPrimary(level, i, next);
            i = next;
        }
    }
}

void TsqlStatementWriter::emitGroup(const Node& group) {
    out_.put(QLatin1String("("), spaceBefore(group));
    emitLevel(group.children);
    out_.put(QLatin1String(")"), tree_.token(group.close).spaceBefore);
}

void TsqlStatementWriter::emitPrimary(const Nodes& level, int begin, int end) {
    const Node& node = level[begin];
    if (node.kind == Node::Kind::Group) {
        emitGroup(node);
        return;
    }
    const TsqlToken& t = tree_.tok(node);
    if (node.kind == Node::Kind::Case) {
        out_.put(t.text, t.spaceBefore);
        emitLevel(node.children);
        const TsqlToken& close = tree_.token(node.close);
        out_.put(close.text, close.spaceBefore);
        return;
    }
    switch (t.type) {
    case Type::Variable:
        throw DbError(ErrorNumber::CommandError,
                      QStringLiteral("Must declare the scalar variable \"%1\".").arg(t.text));
    case Type::Binary:
        syntaxError(t.text);
    case Type::String:
        out_.put(dates_.isMarked(node.token) ? dates_.dateLiteral(t) : t.stringLiteral(),
                 t.spaceBefore);
        return;
    case Type::Number:
    case Type::Operator:
        out_.put(t.text, t.spaceBefore);
        return;
    case Type::Identifier:
    case Type::QuotedIdentifier:
        break;
    }
    if (level[end - 1].kind == Node::Kind::Group)
        emitCall(level, begin, end);
    else
        emitChain(level, begin, end);
}

void TsqlStatementWriter::emitChain(const Nodes& level, int begin, int end) {
    for (int i = begin; i < end; ++i) {
        const TsqlToken& t = tree_.tok(level[i]);
        if (t.type == Type::QuotedIdentifier || t.type == Type::Identifier)
            emitName(t, t.spaceBefore);
        else
            out_.put(t.text, t.spaceBefore);
    }
}

// SQLite reads [name] too, but has no way to write "]" inside brackets.
void TsqlStatementWriter::emitName(const TsqlToken& t, bool space) {
    if (t.type == Type::QuotedIdentifier && t.text.startsWith(QLatin1Char('[')) &&
        t.text.contains(QLatin1String("]]"))) {
        QString name = t.name();
        name.replace(QLatin1Char('"'), QLatin1String("\"\""));
        out_.put(QLatin1Char('"') + name + QLatin1Char('"'), space);
    } else if (t.type == Type::String) {
        out_.put(t.stringLiteral(), space);
    } else {
        out_.put(t.text, space);
    }
}

void TsqlStatementWriter::emitCall(const Nodes& level, int begin, int end) {
    const Node& arguments = level[end - 1];
    const TsqlToken& name = tree_.tok(level[begin]);
    if (end - begin == 2 && name.type == Type::Identifier) {
        if (name.isKeyword(QLatin1String("ISNULL"))) {
            // SQLite has a postfix ISNULL operator; its function is ifnull.
            out_.put(QLatin1String("ifnull"), name.spaceBefore);
            emitGroup(arguments);
            return;
        }
        if (name.isKeyword(QLatin1String("CONVERT"))) {
            emitConvert(name, arguments);
            return;
        }
        if (name.isKeyword(QLatin1String("CAST"))) {
            emitCast(name, arguments);
            return;
        }
    }
    emitChain(level, begin, end - 1);
    emitGroup(arguments);
}

// CONVERT(type, expression)
void TsqlStatementWriter::emitConvert(const TsqlToken& name, const Node& arguments) {
    const Nodes& args = arguments.children;
    const auto parts = tree_.commaSeparated(args, 0, TsqlTree::size(args));
    if (parts.size() < 2)
        syntaxError(QStringLiteral(")"));
    if (parts.size() > 2)
        unsupported(QStringLiteral("CONVERT with a style"));
    const TsqlTargetType target =
        TsqlTargetType::parse(tree_, args, parts[0].first, parts[0].second);
    emitConversion(target, args, parts[1].first, parts[1].second, name.spaceBefore);
}

// CAST(expression AS type)
void TsqlStatementWriter::emitCast(const TsqlToken& name, const Node& arguments) {
    const Nodes& args = arguments.children;
    int as = TsqlTree::size(args) - 1;
    while (as >= 0 && !tree_.nodeIsKeyword(args, as, QLatin1String("AS")))
        --as;
    if (as < 1)
        syntaxError(QStringLiteral(")"));
    const TsqlTargetType target = TsqlTargetType::parse(tree_, args, as + 1, TsqlTree::size(args));
    emitConversion(target, args, 0, as, name.spaceBefore);
}

void TsqlStatementWriter::emitConversion(const TsqlTargetType& target, const Nodes& args, int begin,
                                         int end, bool space) {
    using Kind = TsqlTargetType::Kind;
    if (begin >= end)
        syntaxError(QStringLiteral(","));
    if (target.kind == Kind::Date) {
        // A date in a string becomes the stored form; other values are stored dates already.
        const TsqlDateRewriter::Operand operand = dates_.classify(args, begin, end);
        if (operand.kind == TsqlDateRewriter::OperandKind::Literal) {
            out_.put(dates_.dateLiteral(tree_.token(operand.literal)), space);
            return;
        }
    }
    switch (target.kind) {
    case Kind::Decimal:
        out_.put(QLatin1String("round(CAST("), space);
        emitRange(args, begin, end, {});
        out_.put(QStringLiteral(" AS REAL), %1)").arg(target.scale), false);
        return;
    case Kind::Text:
        out_.put(QLatin1String(target.length < 0 ? "CAST(" : "substr(CAST("), space);
        emitRange(args, begin, end, {});
        out_.put(target.length < 0 ? QStringLiteral(" AS TEXT)")
                                   : QStringLiteral(" AS TEXT), 1, %1)").arg(target.length),
                 false);
        return;
    case Kind::Integer:
    case Kind::Real:
    case Kind::Date:
        out_.put(QLatin1String("CAST("), space);
        emitRange(args, begin, end, {});
        out_.put(target.kind == Kind::Integer ? QLatin1String(" AS INTEGER)")
                 : target.kind == Kind::Real  ? QLatin1String(" AS REAL)")
                                              : QLatin1String(" AS TEXT)"),
                 false);
        return;
    }
}

void TsqlStatementWriter::emitKeywordOrOperator(const TsqlToken& t) {
    if (t.isKeyword(QLatin1String("TOP")))
        unsupported(QStringLiteral("TOP"));
    if (t.isOperator(QLatin1String("^")))
        unsupported(QStringLiteral("The ^ operator"));
    if (t.isOperator(QLatin1String("!<")))
        out_.put(QLatin1String(">="), t.spaceBefore);
    else if (t.isOperator(QLatin1String("!>")))
        out_.put(QLatin1String("<="), t.spaceBefore);
    else
        out_.put(t.text, t.spaceBefore);
}

} // namespace velora::db
