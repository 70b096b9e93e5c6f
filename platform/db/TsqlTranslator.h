#pragma once

#include <QList>
#include <QString>
#include <QVariant>

namespace velora::db {

// One argument of an "EXEC name args" statement: positional (empty name) or "@name = value";
// "@name OUTPUT" marks an output parameter.
struct ExecArgument {
    QString name;
    QVariant value; // integer, double or text literal; null for NULL or an output parameter
    bool isOutput = false;
};

// A statement of the program's dialect (SQL Server's T-SQL) made ready for SQLite.
struct TranslatedStatement {
    enum class Kind { Sql, Exec };
    Kind kind = Kind::Sql;
    QString sql;                   // Kind::Sql: the SQLite text
    QString procedure;             // Kind::Exec: the procedure name as written
    QList<ExecArgument> arguments; // Kind::Exec
};

// Token-based translation of T-SQL statement text into SQLite text with the same meaning.
// Works on the tokens of a small T-SQL lexer, never on regular expressions over the text:
// string literals, identifiers and comments are never rewritten by accident.
//
// The SQLite text may call these functions, which the embedded engine registers:
//   vl_add(a, b)   SQL Server's "+": concatenation when both are text, addition otherwise
//   Month(d), Year(d)
// and relies on the TEXTCI collation of the schema for text comparison.
//
// Throws DbError when the statement cannot be translated (a lexical error, a date literal that
// is not a date where it meets a date column, more than one statement).
class TsqlTranslator {
public:
    explicit TsqlTranslator(QString regionalDateFormat = QStringLiteral("MM/dd/yyyy"));

    TranslatedStatement translate(const QString& statement) const;

    // The stored form of a date literal meeting a date column: "YYYY-MM-DD" from either
    // "YYYY-MM-DD" (optionally with a time part) or the regional short form; empty when the
    // text is not a date in either form.
    QString normaliseDate(const QString& literal) const;

private:
    QString regionalDateFormat_;
};

} // namespace velora::db
