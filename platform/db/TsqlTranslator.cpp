#include "TsqlTranslator.h"

#include "DbError.h"
#include "TsqlLexer.h"

#include <QDate>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>
#include <optional>
#include <utility>

namespace velora::db {

namespace {

using Tokens = std::vector<TsqlToken>;
using Type = TsqlToken::Type;

// Parentheses and CASE ... END deeper than this are refused rather than risking the stack.
constexpr int MaxNesting = 200;

// SQL Server reads a date string of nothing but blanks as its base date.
const QLatin1String BaseDate("1900-01-01");

[[noreturn]] void syntaxError(const QString& near) {
    throw DbError(ErrorNumber::CommandError,
                  QStringLiteral("Incorrect syntax near '%1'.").arg(near));
}

[[noreturn]] void unsupported(const QString& what) {
    throw DbError(ErrorNumber::CommandError,
                  QStringLiteral("%1 is not supported by the embedded database.").arg(what));
}

// Words that never name a column or a function where an operand could start. Sorted, upper
// case: looked up by binary search without allocating.
constexpr const char* ReservedWords[] = {
    "ADD",     "ALL",    "ALTER",     "AND",      "ANY",    "AS",      "ASC",      "BEGIN",
    "BETWEEN", "BREAK",  "BY",        "CASE",     "CHECK",  "COLLATE", "COMMIT",   "CONTINUE",
    "CREATE",  "CROSS",  "DECLARE",   "DEFAULT",  "DELETE", "DESC",    "DISTINCT", "DROP",
    "ELSE",    "END",    "ESCAPE",    "EXCEPT",   "EXEC",   "EXECUTE", "EXISTS",   "FOR",
    "FROM",    "FULL",   "GOTO",      "GRANT",    "GROUP",  "HAVING",  "IF",       "IN",
    "INNER",   "INSERT", "INTERSECT", "INTO",     "IS",     "JOIN",    "LEFT",     "LIKE",
    "NOT",     "ON",     "OPTION",    "OR",       "ORDER",  "OUTER",   "OVER",     "PERCENT",
    "PRINT",   "RETURN", "RIGHT",     "ROLLBACK", "SELECT", "SET",     "SOME",     "TABLE",
    "THEN",    "TOP",    "UNION",     "UPDATE",   "VALUES", "WHEN",    "WHERE",
};

bool isReserved(const TsqlToken& token) {
    if (token.type != Type::Identifier)
        return false;
    const auto found = std::lower_bound(std::begin(ReservedWords), std::end(ReservedWords),
                                        token.text, [](const char* word, const QString& text) {
                                            return QString::compare(QLatin1String(word), text,
                                                                    Qt::CaseInsensitive) < 0;
                                        });
    return found != std::end(ReservedWords) &&
           QString::compare(QLatin1String(*found), token.text, Qt::CaseInsensitive) == 0;
}

// Columns whose values are dates stored as "YYYY-MM-DD" text.
bool isDateColumnName(const QString& name) {
    for (const char* column : {"shift_date", "incentive_effective_date", "delete_date"}) {
        if (name.compare(QLatin1String(column), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool isOneOf(const TsqlToken& token, std::initializer_list<const char*> operators) {
    if (token.type != Type::Operator)
        return false;
    for (const char* op : operators) {
        if (token.text == QLatin1String(op))
            return true;
    }
    return false;
}

bool isComparison(const TsqlToken& t) {
    return isOneOf(t, {"=", "<>", "!=", "<", ">", "<=", ">=", "!<", "!>"});
}
bool isAdditive(const TsqlToken& t) {
    return isOneOf(t, {"+", "-", "&", "|"});
}
bool isMultiplicative(const TsqlToken& t) {
    return isOneOf(t, {"*", "/", "%"});
}
bool isUnary(const TsqlToken& t) {
    return isOneOf(t, {"+", "-", "~"});
}
bool isArithmetic(const TsqlToken& t) {
    return isAdditive(t) || isMultiplicative(t) || isOneOf(t, {"^", "~"});
}
bool isName(const TsqlToken& t) {
    return t.type == Type::QuotedIdentifier || (t.type == Type::Identifier && !isReserved(t));
}

// ---------------------------------------------------------------------------------------------
// The statement as a tree: a parenthesised part or a CASE ... END is one node whose children
// are the level inside it, so operands and lists are found without counting parentheses.

struct Node {
    enum class Kind { Token, Group, Case };
    Kind kind = Kind::Token;
    int token = 0; // Token: the token; Group: "("; Case: CASE
    int close = 0; // Group: ")"; Case: END
    std::vector<Node> children;
};
using Nodes = std::vector<Node>;

class TreeBuilder {
public:
    TreeBuilder(const Tokens& tokens, int end)
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

    const Tokens& tokens_;
    int end_;
    int pos_ = 0;
};

// ---------------------------------------------------------------------------------------------

// Collects the SQLite text, keeping tokens apart where the statement had white space and
// wherever two tokens written side by side would read as one.
class SqlWriter {
public:
    void put(const QString& text, bool space) {
        if (text.isEmpty())
            return;
        if (!out_.isEmpty()) {
            const QChar last = out_.back();
            const bool wanted =
                (space || spaceRequested_) && last != QLatin1Char(' ') && last != QLatin1Char('(');
            if (wanted || wouldJoin(last, text.front()))
                out_ += QLatin1Char(' ');
        }
        spaceRequested_ = false;
        out_ += text;
    }
    void put(QLatin1String text, bool space) { put(QString(text), space); }
    void requestSpace() { spaceRequested_ = true; }
    QString take() { return std::move(out_); }

private:
    static bool isWordChar(QChar c) {
        return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('@') ||
               c == QLatin1Char('#') || c == QLatin1Char('$');
    }
    static bool isOperatorChar(QChar c) {
        return c.unicode() > 0 && c.unicode() < 128 &&
               std::strchr("<>=!|&*/-+%^~", c.toLatin1()) != nullptr;
    }
    static bool wouldJoin(QChar last, QChar first) {
        if (isWordChar(last))
            return isWordChar(first) || first == QLatin1Char('\'') || first == QLatin1Char('"');
        if (isOperatorChar(last))
            return isOperatorChar(first);
        return (last == QLatin1Char('\'') || last == QLatin1Char('"')) && first == last;
    }

    QString out_;
    bool spaceRequested_ = false;
};

// An item "alias = expression" of a select list, by node index within its level.
struct SelectAlias {
    int name;
    int expressionBegin;
    int expressionEnd;
};

// The target of CONVERT or CAST.
struct TargetType {
    enum class Kind { Decimal, Integer, Real, Text, Date };
    Kind kind = Kind::Text;
    int scale = 0;   // Decimal
    int length = -1; // Text: characters kept, -1 for all
};

// Translates one statement of SQL (not EXEC) level by level.
class SqlTranslation {
public:
    SqlTranslation(const TsqlTranslator& owner, const Tokens& tokens, int end)
        : owner_(owner)
        , tokens_(tokens)
        , dateLiteral_(static_cast<size_t>(end), false)
        , root_(TreeBuilder(tokens, end).build()) {}

    QString run() {
        markInsertedDates(root_);
        emitLevel(root_);
        return out_.take();
    }

private:
    const TsqlToken& tok(const Node& node) const {
        return tokens_[static_cast<size_t>(node.token)];
    }
    bool isTokenNode(const Node& node) const { return node.kind == Node::Kind::Token; }
    bool nodeIs(const Nodes& level, int i, bool (*predicate)(const TsqlToken&)) const {
        return i >= 0 && i < static_cast<int>(level.size()) && isTokenNode(level[i]) &&
               predicate(tok(level[i]));
    }
    bool nodeIsKeyword(const Nodes& level, int i, QLatin1String word) const {
        return i >= 0 && i < static_cast<int>(level.size()) && isTokenNode(level[i]) &&
               tok(level[i]).isKeyword(word);
    }
    bool nodeIsOperator(const Nodes& level, int i, QLatin1String op) const {
        return i >= 0 && i < static_cast<int>(level.size()) && isTokenNode(level[i]) &&
               tok(level[i]).isOperator(op);
    }
    static int size(const Nodes& level) { return static_cast<int>(level.size()); }

    // --- operands ----------------------------------------------------------------------------

    // End of the name "a.b.c" (or "t.*") starting at i.
    int chainEnd(const Nodes& level, int i) const {
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

    // A name directly followed by parentheses calls a function (LEFT and RIGHT are keywords
    // that are functions too).
    bool isFunctionName(const TsqlToken& t) const {
        return isName(t) || t.isKeyword(QLatin1String("LEFT")) ||
               t.isKeyword(QLatin1String("RIGHT"));
    }

    // Index just past the operand (literal, name, function call, parenthesised part, CASE)
    // starting at i; -1 when no operand starts there.
    int primaryEnd(const Nodes& level, int i) const {
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

    bool startsOperand(const Nodes& level, int i) const {
        return nodeIs(level, i, isUnary) || primaryEnd(level, i) >= 0;
    }

    // End of the term starting at i: signs and operands joined by * / %.
    int termEnd(const Nodes& level, int i, int end) const {
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

    // --- date literals -----------------------------------------------------------------------

    enum class OperandKind { Other, DateColumn, Literal };
    struct Operand {
        OperandKind kind = OperandKind::Other;
        int literal = -1; // Literal: the string token
    };

    // What the nodes [begin, end) are when they form one operand on their own: a date column
    // ("shift_date", "T1.shift_date", "((shift_date))") or a string literal ("'x'", "('x')").
    Operand classify(const Nodes& level, int begin, int end) const {
        if (begin >= end)
            return {};
        const Node& first = level[begin];
        if (end - begin == 1 && first.kind == Node::Kind::Group)
            return classify(first.children, 0, size(first.children));
        if (!isTokenNode(first))
            return {};
        const TsqlToken& t = tok(first);
        if (end - begin == 1 && t.type == Type::String)
            return {OperandKind::Literal, first.token};
        if (!isName(t) || chainEnd(level, begin) != end)
            return {};
        return isDateColumnName(tok(level[end - 1]).name()) ? Operand{OperandKind::DateColumn, -1}
                                                            : Operand{};
    }

    // Start of the operand that ends at `last`, when nothing binds it to what comes before.
    std::optional<int> operandEndingAt(const Nodes& level, int last) const {
        if (last < 0)
            return std::nullopt;
        int start = last;
        const Node& node = level[last];
        if (node.kind == Node::Kind::Group) {
            if (nodeIs(level, last - 1, isName))
                return std::nullopt; // the arguments of a function call
        } else if (isTokenNode(node) && isName(tok(node))) {
            while (nodeIsOperator(level, start - 1, QLatin1String(".")) && start >= 2 &&
                   isTokenNode(level[start - 2]) && isName(tok(level[start - 2])))
                start -= 2;
        } else if (!(isTokenNode(node) && tok(node).type == Type::String)) {
            return std::nullopt;
        }
        if (nodeIs(level, start - 1, isArithmetic) ||
            nodeIsOperator(level, start - 1, QLatin1String(".")))
            return std::nullopt;
        return start;
    }

    // End of the operand that starts at `first`, when nothing binds it to what follows.
    std::optional<int> operandStartingAt(const Nodes& level, int first) const {
        if (first >= size(level))
            return std::nullopt;
        const Node& node = level[first];
        int end = first + 1;
        if (isTokenNode(node)) {
            const TsqlToken& t = tok(node);
            if (isName(t))
                end = chainEnd(level, first);
            else if (t.type != Type::String)
                return std::nullopt;
        }
        if (end < size(level) &&
            (level[end].kind == Node::Kind::Group || nodeIs(level, end, isArithmetic) ||
             nodeIsOperator(level, end, QLatin1String("."))))
            return std::nullopt;
        return end;
    }

    Operand operandBefore(const Nodes& level, int last) const {
        const std::optional<int> start = operandEndingAt(level, last);
        return start ? classify(level, *start, last + 1) : Operand{};
    }

    Operand operandAfter(const Nodes& level, int first) const {
        const std::optional<int> end = operandStartingAt(level, first);
        return end ? classify(level, first, *end) : Operand{};
    }

    void markIfLiteral(const Operand& operand) {
        if (operand.kind == OperandKind::Literal)
            dateLiteral_[static_cast<size_t>(operand.literal)] = true;
    }

    // Marks the string literals of this level that meet a date column through a comparison,
    // BETWEEN or IN, so that they are written in the stored form.
    void markComparedDates(const Nodes& level, const std::vector<SelectAlias>& aliases) {
        size_t nextAlias = 0;
        for (int i = 0; i < size(level); ++i) {
            if (!isTokenNode(level[i]))
                continue;
            const TsqlToken& t = tok(level[i]);
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

    int operandEndBeforeNot(const Nodes& level, int keyword) const {
        return nodeIsKeyword(level, keyword - 1, QLatin1String("NOT")) ? keyword - 2 : keyword - 1;
    }

    void markBetween(const Nodes& level, int between) {
        if (operandBefore(level, operandEndBeforeNot(level, between)).kind !=
            OperandKind::DateColumn)
            return;
        // A bound holds no BETWEEN of this level, which keeps the search linear.
        int conjunction = between + 1;
        while (conjunction < size(level) &&
               !nodeIsKeyword(level, conjunction, QLatin1String("AND"))) {
            if (nodeIsKeyword(level, conjunction, QLatin1String("BETWEEN")))
                return;
            ++conjunction;
        }
        if (conjunction >= size(level))
            return;
        markIfLiteral(classify(level, between + 1, conjunction));
        markIfLiteral(operandAfter(level, conjunction + 1));
    }

    void markInList(const Nodes& level, int in) {
        if (in + 1 >= size(level) || level[in + 1].kind != Node::Kind::Group ||
            operandBefore(level, operandEndBeforeNot(level, in)).kind != OperandKind::DateColumn)
            return;
        const Nodes& items = level[in + 1].children;
        for (const auto& [begin, end] : commaSeparated(items, 0, size(items)))
            markIfLiteral(classify(items, begin, end));
    }

    // INSERT [INTO] table (columns) VALUES (row)[, (row)...]: a literal in a date column's place.
    void markInsertedDates(const Nodes& level) {
        if (!nodeIsKeyword(level, 0, QLatin1String("INSERT")))
            return;
        int i = nodeIsKeyword(level, 1, QLatin1String("INTO")) ? 2 : 1;
        if (i >= size(level) || !isTokenNode(level[i]) || !isName(tok(level[i])))
            return;
        i = chainEnd(level, i);
        if (i >= size(level) || level[i].kind != Node::Kind::Group)
            return;
        const Nodes& columns = level[i].children;
        std::vector<bool> isDate;
        for (const auto& [begin, end] : commaSeparated(columns, 0, size(columns)))
            isDate.push_back(classify(columns, begin, end).kind == OperandKind::DateColumn);
        if (!nodeIsKeyword(level, ++i, QLatin1String("VALUES")))
            return;
        for (++i; i < size(level) && level[i].kind == Node::Kind::Group; i += 2) {
            const Nodes& row = level[i].children;
            size_t column = 0;
            for (const auto& [begin, end] : commaSeparated(row, 0, size(row))) {
                if (column < isDate.size() && isDate[column])
                    markIfLiteral(classify(row, begin, end));
                ++column;
            }
            if (!nodeIsOperator(level, i + 1, QLatin1String(",")))
                break;
        }
    }

    QString dateLiteral(const TsqlToken& token) const {
        const QString value = token.stringValue();
        const QString date =
            value.trimmed().isEmpty() ? QString(BaseDate) : owner_.normaliseDate(value);
        if (date.isEmpty())
            throw DbError(ErrorNumber::DataConversion,
                          QStringLiteral("Conversion failed when converting date and/or time from "
                                         "character string."));
        return QLatin1Char('\'') + date + QLatin1Char('\'');
    }

    // --- select lists ------------------------------------------------------------------------

    std::vector<std::pair<int, int>> commaSeparated(const Nodes& level, int begin, int end) const {
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

    bool endsSelectList(const TsqlToken& t) const {
        for (const char* word : {"FROM", "WHERE", "GROUP", "HAVING", "ORDER", "UNION", "EXCEPT",
                                 "INTERSECT", "INTO", "FOR", "OPTION"}) {
            if (t.isKeyword(QLatin1String(word)))
                return true;
        }
        return false;
    }

    // The "alias = expression" items of every select list on this level, in order.
    std::vector<SelectAlias> findSelectAliases(const Nodes& level) const {
        std::vector<SelectAlias> aliases;
        for (int i = 0; i < size(level); ++i) {
            if (!nodeIsKeyword(level, i, QLatin1String("SELECT")))
                continue;
            int listEnd = i + 1;
            while (listEnd < size(level) &&
                   !(isTokenNode(level[listEnd]) && endsSelectList(tok(level[listEnd]))))
                ++listEnd;
            for (const auto& [begin, end] : commaSeparated(level, i + 1, listEnd)) {
                if (end - begin >= 3 && isTokenNode(level[begin]) &&
                    (isName(tok(level[begin])) || tok(level[begin]).type == Type::String) &&
                    nodeIsOperator(level, begin + 1, QLatin1String("=")))
                    aliases.push_back({begin, begin + 2, end});
            }
            i = listEnd - 1;
        }
        return aliases;
    }

    // --- writing -----------------------------------------------------------------------------

    void emitLevel(const Nodes& level) {
        const std::vector<SelectAlias> aliases = findSelectAliases(level);
        markComparedDates(level, aliases);
        emitRange(level, 0, size(level), aliases);
    }

    void emitRange(const Nodes& level, int begin, int end,
                   const std::vector<SelectAlias>& aliases) {
        size_t nextAlias = 0;
        int i = begin;
        while (i < end) {
            while (nextAlias < aliases.size() && aliases[nextAlias].name < i)
                ++nextAlias;
            if (nextAlias < aliases.size() && aliases[nextAlias].name == i) {
                const SelectAlias& alias = aliases[nextAlias];
                const TsqlToken& name = tok(level[alias.name]);
                if (name.spaceBefore)
                    out_.requestSpace();
                emitRange(level, alias.expressionBegin, alias.expressionEnd, {});
                out_.put(QLatin1String("AS"), true);
                emitName(name, true);
                i = alias.expressionEnd;
            } else if (startsOperand(level, i)) {
                i = emitExpression(level, i, end);
            } else {
                emitKeywordOrOperator(tok(level[i]));
                ++i;
            }
        }
    }

    // An additive expression: "+" becomes vl_add, left-associative, so "a - b + c" is written
    // "vl_add(a - b, c)". "&" and "|" share the level of "+" in T-SQL but bind more loosely in
    // SQLite, hence their parentheses.
    int emitExpression(const Nodes& level, int begin, int end) {
        struct Term {
            int op;
            int begin;
            int end;
        };
        std::vector<Term> terms{{-1, begin, termEnd(level, begin, end)}};
        while (terms.back().end < end && nodeIs(level, terms.back().end, isAdditive)) {
            const int op = terms.back().end;
            terms.push_back({op, op + 1, termEnd(level, op + 1, end)});
        }
        bool space = spaceBefore(level[begin]);
        for (size_t k = terms.size() - 1; k >= 1; --k) {
            const TsqlToken& op = tok(level[terms[k].op]);
            if (op.isOperator(QLatin1String("+")))
                out_.put(QLatin1String("vl_add("), std::exchange(space, false));
            else if (!op.isOperator(QLatin1String("-")))
                out_.put(QLatin1String("("), std::exchange(space, false));
        }
        if (space)
            out_.requestSpace();
        emitTerm(level, terms[0].begin, terms[0].end);
        for (size_t k = 1; k < terms.size(); ++k) {
            const TsqlToken& op = tok(level[terms[k].op]);
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

    bool spaceBefore(const Node& node) const { return tok(node).spaceBefore; }

    void emitTerm(const Nodes& level, int begin, int end) {
        int i = begin;
        while (i < end) {
            if (nodeIs(level, i, isUnary) || nodeIs(level, i, isMultiplicative)) {
                out_.put(tok(level[i]).text, spaceBefore(level[i]));
                ++i;
            } else {
                const int next = primaryEnd(level, i);
                emitPrimary(level, i, next);
                i = next;
            }
        }
    }

    void emitGroup(const Node& group) {
        out_.put(QLatin1String("("), spaceBefore(group));
        emitLevel(group.children);
        out_.put(QLatin1String(")"), tokens_[static_cast<size_t>(group.close)].spaceBefore);
    }

    void emitPrimary(const Nodes& level, int begin, int end) {
        const Node& node = level[begin];
        if (node.kind == Node::Kind::Group) {
            emitGroup(node);
            return;
        }
        const TsqlToken& t = tok(node);
        if (node.kind == Node::Kind::Case) {
            out_.put(t.text, t.spaceBefore);
            emitLevel(node.children);
            const TsqlToken& close = tokens_[static_cast<size_t>(node.close)];
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
            out_.put(dateLiteral_[static_cast<size_t>(node.token)] ? dateLiteral(t)
                                                                   : t.stringLiteral(),
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

    void emitChain(const Nodes& level, int begin, int end) {
        for (int i = begin; i < end; ++i) {
            const TsqlToken& t = tok(level[i]);
            if (t.type == Type::QuotedIdentifier || t.type == Type::Identifier)
                emitName(t, t.spaceBefore);
            else
                out_.put(t.text, t.spaceBefore);
        }
    }

    // SQLite reads [name] too, but has no way to write "]" inside brackets.
    void emitName(const TsqlToken& t, bool space) {
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

    void emitCall(const Nodes& level, int begin, int end) {
        const Node& arguments = level[end - 1];
        const TsqlToken& name = tok(level[begin]);
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
    void emitConvert(const TsqlToken& name, const Node& arguments) {
        const Nodes& args = arguments.children;
        const auto parts = commaSeparated(args, 0, size(args));
        if (parts.size() < 2)
            syntaxError(QStringLiteral(")"));
        if (parts.size() > 2)
            unsupported(QStringLiteral("CONVERT with a style"));
        const TargetType target = targetType(args, parts[0].first, parts[0].second);
        emitConversion(target, args, parts[1].first, parts[1].second, name.spaceBefore);
    }

    // CAST(expression AS type)
    void emitCast(const TsqlToken& name, const Node& arguments) {
        const Nodes& args = arguments.children;
        int as = size(args) - 1;
        while (as >= 0 && !nodeIsKeyword(args, as, QLatin1String("AS")))
            --as;
        if (as < 1)
            syntaxError(QStringLiteral(")"));
        const TargetType target = targetType(args, as + 1, size(args));
        emitConversion(target, args, 0, as, name.spaceBefore);
    }

    // The whole number at i of a type's size, such as the 2 of "(19,2)".
    int integerArgument(const Nodes& args, int i) const {
        if (i >= size(args))
            syntaxError(QStringLiteral(")"));
        bool ok = false;
        const int value = isTokenNode(args[i]) && tok(args[i]).type == Type::Number
                              ? tok(args[i]).text.toInt(&ok)
                              : 0;
        if (!ok || value < 0)
            syntaxError(isTokenNode(args[i]) ? tok(args[i]).text : QStringLiteral("("));
        return value;
    }

    // "decimal(19,2)", "varchar(10)", "int", ... from the nodes [begin, end).
    TargetType targetType(const Nodes& args, int begin, int end) const {
        if (begin >= end || !isTokenNode(args[begin]) || tok(args[begin]).type != Type::Identifier)
            syntaxError(begin < end && isTokenNode(args[begin]) ? tok(args[begin]).text
                                                                : QStringLiteral(","));
        const TsqlToken& name = tok(args[begin]);
        const Node* size = nullptr;
        if (end - begin == 2 && args[begin + 1].kind == Node::Kind::Group)
            size = &args[begin + 1];
        else if (end - begin != 1)
            syntaxError(name.text);
        const auto is = [&name](std::initializer_list<const char*> words) {
            for (const char* word : words) {
                if (name.isKeyword(QLatin1String(word)))
                    return true;
            }
            return false;
        };
        TargetType target;
        if (is({"decimal", "numeric", "dec"})) {
            target.kind = TargetType::Kind::Decimal;
            if (size) { // (precision) or (precision, scale)
                const int count = static_cast<int>(size->children.size());
                if ((count != 1 && count != 3) ||
                    (count == 3 && !nodeIsOperator(size->children, 1, QLatin1String(","))))
                    syntaxError(QStringLiteral(")"));
                integerArgument(size->children, 0);
                if (count == 3)
                    target.scale = integerArgument(size->children, 2);
            }
        } else if (is({"money", "smallmoney"})) {
            target.kind = TargetType::Kind::Decimal;
            target.scale = 4;
        } else if (is({"int", "integer", "bigint", "smallint", "tinyint"})) {
            target.kind = TargetType::Kind::Integer;
        } else if (is({"float", "real"})) {
            target.kind = TargetType::Kind::Real;
        } else if (is({"varchar", "nvarchar", "char", "nchar"})) {
            target.kind = TargetType::Kind::Text;
            target.length = 30; // SQL Server's length when none is given
            if (size && size->children.size() == 1 && isTokenNode(size->children[0]) &&
                tok(size->children[0]).isKeyword(QLatin1String("max")))
                target.length = -1;
            else if (size && size->children.size() == 1)
                target.length = integerArgument(size->children, 0);
            else if (size)
                syntaxError(QStringLiteral(")"));
        } else if (is({"datetime", "date", "smalldatetime", "datetime2"})) {
            target.kind = TargetType::Kind::Date;
        } else {
            unsupported(QStringLiteral("Conversion to %1").arg(name.text));
        }
        return target;
    }

    void emitConversion(const TargetType& target, const Nodes& args, int begin, int end,
                        bool space) {
        if (begin >= end)
            syntaxError(QStringLiteral(","));
        if (target.kind == TargetType::Kind::Date) {
            // A date in a string becomes the stored form; other values are stored dates already.
            const Operand operand = classify(args, begin, end);
            if (operand.kind == OperandKind::Literal) {
                out_.put(dateLiteral(tokens_[static_cast<size_t>(operand.literal)]), space);
                return;
            }
        }
        switch (target.kind) {
        case TargetType::Kind::Decimal:
            out_.put(QLatin1String("round(CAST("), space);
            emitRange(args, begin, end, {});
            out_.put(QStringLiteral(" AS REAL), %1)").arg(target.scale), false);
            return;
        case TargetType::Kind::Text:
            out_.put(QLatin1String(target.length < 0 ? "CAST(" : "substr(CAST("), space);
            emitRange(args, begin, end, {});
            out_.put(target.length < 0 ? QStringLiteral(" AS TEXT)")
                                       : QStringLiteral(" AS TEXT), 1, %1)").arg(target.length),
                     false);
            return;
        case TargetType::Kind::Integer:
        case TargetType::Kind::Real:
        case TargetType::Kind::Date:
            out_.put(QLatin1String("CAST("), space);
            emitRange(args, begin, end, {});
            out_.put(target.kind == TargetType::Kind::Integer ? QLatin1String(" AS INTEGER)")
                     : target.kind == TargetType::Kind::Real  ? QLatin1String(" AS REAL)")
                                                              : QLatin1String(" AS TEXT)"),
                     false);
            return;
        }
    }

    void emitKeywordOrOperator(const TsqlToken& t) {
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

    const TsqlTranslator& owner_;
    const Tokens& tokens_;
    std::vector<bool> dateLiteral_; // by token: a string literal written as a stored date
    Nodes root_;
    SqlWriter out_;
};

// ---------------------------------------------------------------------------------------------

// EXEC[UTE] [schema.]name [argument [, argument ...]]
class ExecParser {
public:
    ExecParser(const Tokens& tokens, int end)
        : tokens_(tokens)
        , end_(end) {}

    TranslatedStatement parse() {
        TranslatedStatement result;
        result.kind = TranslatedStatement::Kind::Exec;
        pos_ = 1;
        result.procedure = procedureName();
        bool named = false;
        while (pos_ < end_) {
            if (!result.arguments.isEmpty()) {
                if (!current().isOperator(QLatin1String(",")))
                    syntaxError(current().text);
                ++pos_;
            }
            ExecArgument argument = parseArgument();
            if (argument.name.isEmpty() && named)
                throw DbError(
                    ErrorNumber::CommandError,
                    QStringLiteral("Must pass parameter number %1 and subsequent parameters as "
                                   "'@name = value'. After the form '@name = value' has been "
                                   "used, all subsequent parameters must be passed in the form "
                                   "'@name = value'.")
                        .arg(result.arguments.size() + 1));
            named = named || !argument.name.isEmpty();
            result.arguments.append(argument);
        }
        return result;
    }

private:
    const TsqlToken& current() const {
        if (pos_ >= end_)
            syntaxError(tokens_[static_cast<size_t>(end_ - 1)].text);
        return tokens_[static_cast<size_t>(pos_)];
    }
    bool atOutput() const {
        return pos_ < end_ && (current().isKeyword(QLatin1String("OUTPUT")) ||
                               current().isKeyword(QLatin1String("OUT")));
    }

    // The last part of a qualified name: "dbo.x" calls x.
    QString procedureName() {
        QString name;
        for (;;) {
            const TsqlToken& part = current();
            if (part.type != Type::QuotedIdentifier &&
                (part.type != Type::Identifier || isReserved(part)))
                syntaxError(part.text);
            name = part.name();
            ++pos_;
            if (pos_ >= end_ || !current().isOperator(QLatin1String(".")))
                return name;
            ++pos_;
        }
    }

    ExecArgument parseArgument() {
        ExecArgument argument;
        const TsqlToken& first = current();
        if (first.type == Type::Variable) {
            ++pos_;
            if (atOutput()) { // "@name OUTPUT"
                ++pos_;
                argument.name = first.text;
                argument.isOutput = true;
                return argument;
            }
            if (pos_ >= end_ || !current().isOperator(QLatin1String("=")))
                undeclared(first);
            ++pos_;
            argument.name = first.text;
        }
        const TsqlToken& valueToken = current();
        if (valueToken.type == Type::Variable) { // "@name = @local OUTPUT"
            ++pos_;
            if (!atOutput())
                undeclared(valueToken);
            ++pos_;
            argument.isOutput = true;
            return argument;
        }
        argument.value = constant();
        if (atOutput())
            throw DbError(ErrorNumber::CommandError,
                          QStringLiteral("Cannot use the OUTPUT option when passing a constant to "
                                         "a stored procedure."));
        return argument;
    }

    [[noreturn]] static void undeclared(const TsqlToken& variable) {
        throw DbError(
            ErrorNumber::CommandError,
            QStringLiteral("Must declare the scalar variable \"%1\".").arg(variable.text));
    }

    // A number (with its sign), a string, NULL, or a bare word, which T-SQL passes as text.
    QVariant constant() {
        const TsqlToken& t = current();
        ++pos_;
        if (t.type == Type::String)
            return t.stringValue();
        if (t.isKeyword(QLatin1String("NULL")))
            return {};
        if (t.type == Type::Identifier && !isReserved(t) && !t.isKeyword(QLatin1String("OUTPUT")) &&
            !t.isKeyword(QLatin1String("OUT")))
            return t.text;
        QString sign;
        const TsqlToken* number = &t;
        if (t.isOperator(QLatin1String("-")) || t.isOperator(QLatin1String("+"))) {
            sign = t.text;
            number = &current();
            ++pos_;
        }
        if (number->type != Type::Number)
            syntaxError(number->text);
        return numberValue(sign + number->text);
    }

    static QVariant numberValue(const QString& text) {
        bool ok = false;
        if (!text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e')) &&
            !text.contains(QLatin1Char('E'))) {
            const qlonglong value = text.toLongLong(&ok);
            if (ok && value >= std::numeric_limits<int>::min() &&
                value <= std::numeric_limits<int>::max())
                return static_cast<int>(value);
            if (ok)
                return value;
        }
        return text.toDouble();
    }

    const Tokens& tokens_;
    int end_;
    int pos_ = 0;
};

// The end of the one statement: tokens after the first ";" may only be further ";".
int statementEnd(const Tokens& tokens) {
    const int count = static_cast<int>(tokens.size());
    for (int i = 0; i < count; ++i) {
        if (!tokens[static_cast<size_t>(i)].isOperator(QLatin1String(";")))
            continue;
        for (int j = i + 1; j < count; ++j) {
            if (!tokens[static_cast<size_t>(j)].isOperator(QLatin1String(";")))
                throw DbError(ErrorNumber::CommandError,
                              QStringLiteral("Only one statement can be run at a time; '%1' "
                                             "follows the end of the statement.")
                                  .arg(tokens[static_cast<size_t>(j)].text));
        }
        return i;
    }
    return count;
}

// --- dates ------------------------------------------------------------------------------------

// Reads digits into `value`, at least `min` and at most `max` of them.
bool readNumber(QStringView text, qsizetype& pos, int min, int max, int& value) {
    value = 0;
    int count = 0;
    while (pos < text.size() && count < max && text[pos].isDigit() && text[pos].unicode() < 128) {
        value = value * 10 + (text[pos].unicode() - '0');
        ++pos;
        ++count;
    }
    return count >= min;
}

bool readChar(QStringView text, qsizetype& pos, QChar c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

// What may follow a date: nothing, or a time "hh:mm[:ss[.fff]] [AM|PM]" after a blank or a T.
bool isTimePart(QStringView rest) {
    if (rest.isEmpty())
        return true;
    qsizetype pos = 0;
    if (rest[0] == QLatin1Char('T')) {
        pos = 1;
    } else {
        while (pos < rest.size() && rest[pos] == QLatin1Char(' '))
            ++pos;
        if (pos == 0)
            return false;
    }
    int hour = 0;
    int minute = 0;
    int second = 0;
    int fraction = 0;
    if (!readNumber(rest, pos, 1, 2, hour) || !readChar(rest, pos, QLatin1Char(':')) ||
        !readNumber(rest, pos, 2, 2, minute) || minute > 59)
        return false;
    if (readChar(rest, pos, QLatin1Char(':')) &&
        (!readNumber(rest, pos, 2, 2, second) || second > 59))
        return false;
    if (readChar(rest, pos, QLatin1Char('.')) && !readNumber(rest, pos, 1, 7, fraction))
        return false;
    const QStringView meridiem = rest.mid(pos).trimmed();
    if (meridiem.isEmpty())
        return hour <= 23;
    return hour >= 1 && hour <= 12 &&
           (meridiem.compare(QLatin1String("AM"), Qt::CaseInsensitive) == 0 ||
            meridiem.compare(QLatin1String("PM"), Qt::CaseInsensitive) == 0);
}

// "YYYY-MM-DD" (one-digit month and day accepted) or "YYYYMMDD", optionally with a time.
QDate isoDate(QStringView text) {
    qsizetype pos = 0;
    int year = 0;
    int month = 0;
    int day = 0;
    if (!readNumber(text, pos, 4, 4, year))
        return {};
    if (readChar(text, pos, QLatin1Char('-'))) {
        if (!readNumber(text, pos, 1, 2, month) || !readChar(text, pos, QLatin1Char('-')) ||
            !readNumber(text, pos, 1, 2, day))
            return {};
    } else if (!readNumber(text, pos, 2, 2, month) || !readNumber(text, pos, 2, 2, day)) {
        return {};
    }
    if (!isTimePart(text.mid(pos)))
        return {};
    return QDate(year, month, day);
}

// The regional short form, read by the order of its day, month and year fields and its
// separators, so that one-digit days and months are accepted too ("1/5/2024" for
// "MM/dd/yyyy"). A format with other fields (month names) is left to QDate.
QDate regionalDate(QStringView text, const QString& format) {
    struct Field {
        QChar letter;
        QChar separator; // what follows the field; null for the last one
    };
    std::vector<Field> fields;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        qsizetype run = i;
        while (run < format.size() && format[run] == c)
            ++run;
        const qsizetype length = run - i;
        if (c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) {
            if ((c != QLatin1Char('y') && length > 2) ||
                (c == QLatin1Char('y') && length != 2 && length != 4))
                return QDate::fromString(text.toString(), format);
            fields.push_back({c, QChar()});
        } else if (length == 1 && !fields.empty() && fields.back().separator.isNull()) {
            fields.back().separator = c;
        } else {
            return QDate::fromString(text.toString(), format);
        }
        i = run;
    }
    if (fields.size() != 3)
        return QDate::fromString(text.toString(), format);
    qsizetype pos = 0;
    int day = 0;
    int month = 0;
    int year = 0;
    for (const Field& field : fields) {
        int value = 0;
        if (field.letter == QLatin1Char('y')) {
            const qsizetype start = pos;
            if (!readNumber(text, pos, 2, 4, value) || pos - start == 3)
                return {};
            if (pos - start == 2) // SQL Server's two-digit year cutoff is 2049
                value += value < 50 ? 2000 : 1900;
            year = value;
        } else {
            if (!readNumber(text, pos, 1, 2, value))
                return {};
            (field.letter == QLatin1Char('d') ? day : month) = value;
        }
        if (!field.separator.isNull() && !readChar(text, pos, field.separator))
            return {};
    }
    if (!isTimePart(text.mid(pos)))
        return {};
    return QDate(year, month, day);
}

} // namespace

TsqlTranslator::TsqlTranslator(QString regionalDateFormat)
    : regionalDateFormat_(std::move(regionalDateFormat)) {}

TranslatedStatement TsqlTranslator::translate(const QString& statement) const {
    const Tokens tokens = TsqlLexer::tokenize(statement);
    const int end = statementEnd(tokens);
    if (end == 0)
        throw DbError(ErrorNumber::CommandError,
                      QStringLiteral("Command text was not set for the command object."));
    const TsqlToken& first = tokens.front();
    if (first.isKeyword(QLatin1String("EXEC")) || first.isKeyword(QLatin1String("EXECUTE")))
        return ExecParser(tokens, end).parse();
    TranslatedStatement result;
    result.sql = SqlTranslation(*this, tokens, end).run();
    return result;
}

QString TsqlTranslator::normaliseDate(const QString& literal) const {
    const QStringView text = QStringView(literal).trimmed();
    QDate date = isoDate(text);
    if (!date.isValid() && !regionalDateFormat_.isEmpty())
        date = regionalDate(text, regionalDateFormat_);
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return {};
    return QString::asprintf("%04d-%02d-%02d", date.year(), date.month(), date.day());
}

} // namespace velora::db
