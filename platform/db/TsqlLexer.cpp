#include "TsqlLexer.h"

#include "DbError.h"

namespace velora::db {

namespace {

bool isIdentifierStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('#');
}

bool isIdentifierPart(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('#') ||
           c == QLatin1Char('@') || c == QLatin1Char('$');
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isHexDigit(QChar c) {
    return isDigit(c) || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

[[noreturn]] void unclosedQuote(const QString& text, int contentStart) {
    throw DbError(ErrorNumber::CommandError,
                  QStringLiteral("Unclosed quotation mark after the character string '%1'.")
                      .arg(text.mid(contentStart)));
}

// The statement as a cursor: each scan function takes the start of a token and returns the
// offset just past it.
class Scanner {
public:
    explicit Scanner(const QString& text)
        : text_(text)
        , size_(static_cast<int>(text.size())) {}

    QChar at(int i) const { return i < size_ ? text_[i] : QChar(); }
    int size() const { return size_; }

    // A quoted run closed by `close`, where a doubled `close` stands for itself.
    int quoted(int start, QChar close) const {
        int i = start + 1;
        for (;;) {
            if (i >= size_)
                unclosedQuote(text_, start + 1);
            if (text_[i] == close) {
                if (at(i + 1) != close)
                    return i + 1;
                ++i;
            }
            ++i;
        }
    }

    // Block comments nest, as they do in T-SQL.
    int blockComment(int start) const {
        int depth = 0;
        int i = start;
        while (i < size_) {
            if (text_[i] == QLatin1Char('/') && at(i + 1) == QLatin1Char('*')) {
                ++depth;
                i += 2;
            } else if (text_[i] == QLatin1Char('*') && at(i + 1) == QLatin1Char('/')) {
                i += 2;
                if (--depth == 0)
                    return i;
            } else {
                ++i;
            }
        }
        throw DbError(ErrorNumber::CommandError, QStringLiteral("Missing end comment mark '*/'."));
    }

    int lineComment(int start) const {
        int i = start;
        while (i < size_ && text_[i] != QLatin1Char('\n'))
            ++i;
        return i;
    }

    int identifier(int start) const {
        int i = start + 1;
        while (i < size_ && isIdentifierPart(text_[i]))
            ++i;
        return i;
    }

    int digits(int i) const {
        while (i < size_ && isDigit(text_[i]))
            ++i;
        return i;
    }

    int number(int start) const {
        int i = digits(start);
        if (at(i) == QLatin1Char('.'))
            i = digits(i + 1);
        if (at(i) == QLatin1Char('e') || at(i) == QLatin1Char('E')) {
            int exponent = i + 1;
            if (at(exponent) == QLatin1Char('+') || at(exponent) == QLatin1Char('-'))
                ++exponent;
            if (isDigit(at(exponent)))
                i = digits(exponent);
        }
        return i;
    }

    int binary(int start) const {
        int i = start + 2;
        while (i < size_ && isHexDigit(text_[i]))
            ++i;
        return i;
    }

    // Operators of one or two characters; 0 when the character starts no token.
    int operatorLength(int i) const {
        const QChar c = text_[i];
        const QChar next = at(i + 1);
        if (c == QLatin1Char('<'))
            return next == QLatin1Char('>') || next == QLatin1Char('=') ? 2 : 1;
        if (c == QLatin1Char('>'))
            return next == QLatin1Char('=') ? 2 : 1;
        if (c == QLatin1Char('!'))
            return next == QLatin1Char('=') || next == QLatin1Char('<') || next == QLatin1Char('>')
                       ? 2
                       : 0;
        static constexpr char singles[] = "=+-*/%&|^~(),.;";
        for (const char s : singles) {
            if (s != '\0' && c == QLatin1Char(s))
                return 1;
        }
        return 0;
    }

private:
    const QString& text_;
    int size_;
};

} // namespace

QString TsqlToken::stringValue() const {
    const qsizetype open = text.indexOf(QLatin1Char('\''));
    QString value = text.mid(open + 1, text.size() - open - 2);
    value.replace(QLatin1String("''"), QLatin1String("'"));
    return value;
}

QString TsqlToken::name() const {
    if (type != Type::QuotedIdentifier)
        return text;
    const QChar close = text.front() == QLatin1Char('[') ? QLatin1Char(']') : QLatin1Char('"');
    QString value = text.mid(1, text.size() - 2);
    value.replace(QString(2, close), QString(close));
    return value;
}

std::vector<TsqlToken> TsqlLexer::tokenize(const QString& statement) {
    const Scanner scan(statement);
    std::vector<TsqlToken> tokens;
    bool space = false;
    int i = 0;
    while (i < scan.size()) {
        const QChar c = scan.at(i);
        const QChar next = scan.at(i + 1);
        int end = 0;
        TsqlToken::Type type = TsqlToken::Type::Operator;
        if (c.isSpace()) {
            space = true;
            ++i;
            continue;
        }
        if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            space = true;
            i = scan.lineComment(i);
            continue;
        }
        if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            space = true;
            i = scan.blockComment(i);
            continue;
        }
        if (c == QLatin1Char('\'')) {
            type = TsqlToken::Type::String;
            end = scan.quoted(i, QLatin1Char('\''));
        } else if ((c == QLatin1Char('N') || c == QLatin1Char('n')) && next == QLatin1Char('\'')) {
            type = TsqlToken::Type::String;
            end = scan.quoted(i + 1, QLatin1Char('\''));
        } else if (c == QLatin1Char('[')) {
            type = TsqlToken::Type::QuotedIdentifier;
            end = scan.quoted(i, QLatin1Char(']'));
        } else if (c == QLatin1Char('"')) {
            type = TsqlToken::Type::QuotedIdentifier;
            end = scan.quoted(i, QLatin1Char('"'));
        } else if (c == QLatin1Char('@') && (isIdentifierPart(next) && next != QLatin1Char('$'))) {
            type = TsqlToken::Type::Variable;
            end = scan.identifier(i);
        } else if (isIdentifierStart(c)) {
            type = TsqlToken::Type::Identifier;
            end = scan.identifier(i);
        } else if (c == QLatin1Char('0') &&
                   (next == QLatin1Char('x') || next == QLatin1Char('X'))) {
            type = TsqlToken::Type::Binary;
            end = scan.binary(i);
        } else if (isDigit(c) || (c == QLatin1Char('.') && isDigit(next))) {
            type = TsqlToken::Type::Number;
            end = scan.number(i);
        } else if (const int length = scan.operatorLength(i); length > 0) {
            end = i + length;
        } else {
            throw DbError(ErrorNumber::CommandError,
                          QStringLiteral("Incorrect syntax near '%1'.").arg(c));
        }
        tokens.push_back(TsqlToken{type, statement.mid(i, end - i), i, space});
        space = false;
        i = end;
    }
    return tokens;
}

} // namespace velora::db
