#include "TsqlSyntax.h"

#include "DbError.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>

namespace velora::db::tsql {

namespace {

using Type = TsqlToken::Type;

// Sorted, upper case: looked up by binary search without allocating.
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

bool isOneOf(const TsqlToken& token, std::initializer_list<const char*> operators) {
    if (token.type != Type::Operator)
        return false;
    for (const char* op : operators) {
        if (token.text == QLatin1String(op))
            return true;
    }
    return false;
}

} // namespace

void syntaxError(const QString& near) {
    throw DbError(ErrorNumber::CommandError,
                  QStringLiteral("Incorrect syntax near '%1'.").arg(near));
}

void unsupported(const QString& what) {
    throw DbError(ErrorNumber::CommandError,
                  QStringLiteral("%1 is not supported by the embedded database.").arg(what));
}

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

bool isDateColumnName(const QString& name) {
    for (const char* column : {"shift_date", "incentive_effective_date", "delete_date"}) {
        if (name.compare(QLatin1String(column), Qt::CaseInsensitive) == 0)
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

} // namespace velora::db::tsql
