#pragma once

#include <QLatin1String>
#include <QString>
#include <vector>

namespace velora::db {

// One token of a T-SQL statement. Keywords are plain identifiers: the translator decides what
// a word means from where it stands.
struct TsqlToken {
    enum class Type {
        Identifier,       // name or keyword
        QuotedIdentifier, // [name] or "name"
        Variable,         // @name, @@name
        Number,           // 12, 1.5, .5, 1e3
        Binary,           // 0x1F
        String,           // 'text' or N'text', quotes included
        Operator          // punctuation and operators, including ( ) , . ;
    };

    Type type = Type::Operator;
    QString text;             // as written in the statement
    int position = 0;         // offset of the first character in the statement
    bool spaceBefore = false; // white space or a comment separates it from the token before

    bool isKeyword(QLatin1String word) const {
        return type == Type::Identifier && text.compare(word, Qt::CaseInsensitive) == 0;
    }
    bool isOperator(QLatin1String op) const { return type == Type::Operator && text == op; }
    bool isNational() const { return type == Type::String && !text.startsWith(QLatin1Char('\'')); }
    // String: the text between the quotes with doubled quotes made single.
    QString stringValue() const;
    // The literal as SQLite writes it: quotes included, without the N prefix.
    QString stringLiteral() const { return isNational() ? text.mid(1) : text; }
    // Identifier or QuotedIdentifier: the name without its brackets or quotes.
    QString name() const;
};

// Splits T-SQL statement text into tokens. Comments and white space are dropped (a token
// remembers whether any came before it). Throws DbError for an unclosed string, quoted name
// or comment, and for a character that starts no token.
class TsqlLexer {
public:
    static std::vector<TsqlToken> tokenize(const QString& statement);
};

} // namespace velora::db
