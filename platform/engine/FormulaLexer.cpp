#include "FormulaLexer.h"

#include "FormulaDate.h"
#include "FormulaValue.h"

#include <charconv>
#include <string>

namespace velora::engine {

namespace {

namespace N = FormulaErrorNumber;

struct KeywordName {
    const char* name;
    FormulaKeyword keyword;
};

const KeywordName Keywords[] = {
    {"And", FormulaKeyword::And},       {"Or", FormulaKeyword::Or},
    {"Xor", FormulaKeyword::Xor},       {"Not", FormulaKeyword::Not},
    {"Mod", FormulaKeyword::Mod},       {"If", FormulaKeyword::If},
    {"Then", FormulaKeyword::Then},     {"Else", FormulaKeyword::Else},
    {"ElseIf", FormulaKeyword::ElseIf}, {"End", FormulaKeyword::End},
    {"Select", FormulaKeyword::Select}, {"Case", FormulaKeyword::Case},
    {"Is", FormulaKeyword::Is},         {"To", FormulaKeyword::To},
    {"Dim", FormulaKeyword::Dim},       {"True", FormulaKeyword::True},
    {"False", FormulaKeyword::False},
};

FormulaKeyword keywordOf(QStringView word) {
    for (const KeywordName& entry : Keywords) {
        if (word.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.keyword;
    }
    return FormulaKeyword::None;
}

bool isAsciiLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

bool isAsciiDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}

bool isRadixDigit(QChar c, int base) {
    const char16_t u = c.unicode();
    if (base == 8)
        return u >= '0' && u <= '7';
    return isAsciiDigit(c) || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
}

bool isLineBreak(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar(0xA0);
}

class Lexer {
public:
    explicit Lexer(const QString& text)
        : text_(text) {}

    std::vector<FormulaToken> run() {
        while (at_ < text_.size())
            next();
        FormulaToken end;
        end.kind = FormulaToken::Kind::End;
        end.position = here();
        tokens_.push_back(end);
        return std::move(tokens_);
    }

private:
    QChar peek(qsizetype offset = 0) const {
        const qsizetype i = at_ + offset;
        return i < text_.size() ? text_[i] : QChar();
    }
    SourcePosition here() const { return {line_, int(at_ - lineStart_) + 1}; }

    [[noreturn]] void fail(int number, SourcePosition where, const QString& text = QString()) {
        throw FormulaCompileError(text.isEmpty() ? FormulaFault::withSubject(number, QString())
                                                 : FormulaFault::withText(number, text),
                                  where);
    }

    void push(FormulaToken token) { tokens_.push_back(std::move(token)); }

    void pushSymbol(FormulaSymbol symbol, int length) {
        FormulaToken token;
        token.kind = FormulaToken::Kind::Symbol;
        token.symbol = symbol;
        token.position = here();
        at_ += length;
        push(token);
    }

    void next() {
        const QChar c = peek();
        if (isBlank(c)) {
            ++at_;
        } else if (isLineBreak(c)) {
            lineBreak();
        } else if (c == QLatin1Char('\'')) {
            skipToLineEnd();
        } else if (isAsciiLetter(c)) {
            word();
        } else if (isAsciiDigit(c) || (c == QLatin1Char('.') && isAsciiDigit(peek(1)))) {
            decimal();
        } else if (c == QLatin1Char('"')) {
            string();
        } else if (c == QLatin1Char('#')) {
            date();
        } else if (c == QLatin1Char('_')) {
            continuation();
        } else if (c == QLatin1Char('&') && radixNumber()) {
            return;
        } else {
            symbol();
        }
    }

    void lineBreak() {
        FormulaToken token;
        token.kind = FormulaToken::Kind::Newline;
        token.position = here();
        push(token);
        skipLineBreak();
    }

    void skipLineBreak() {
        if (peek() == QLatin1Char('\r') && peek(1) == QLatin1Char('\n'))
            ++at_;
        ++at_;
        ++line_;
        lineStart_ = at_;
    }

    void skipToLineEnd() {
        while (at_ < text_.size() && !isLineBreak(peek()))
            ++at_;
    }

    // Rem is a comment where a statement starts; elsewhere it is left for the parser to refuse.
    bool atStatementStart() const {
        if (tokens_.empty())
            return true;
        const FormulaToken& last = tokens_.back();
        return last.endsStatement() || last.is(FormulaKeyword::Then) ||
               last.is(FormulaKeyword::Else);
    }

    void word() {
        const SourcePosition start = here();
        const qsizetype begin = at_;
        while (isAsciiLetter(peek()) || isAsciiDigit(peek()) || peek() == QLatin1Char('_'))
            ++at_;
        const QStringView name = QStringView(text_).mid(begin, at_ - begin);
        if (name.compare(QLatin1String("Rem"), Qt::CaseInsensitive) == 0 && atStatementStart()) {
            skipToLineEnd();
            return;
        }
        FormulaToken token;
        token.position = start;
        token.keyword = keywordOf(name);
        token.kind = token.keyword == FormulaKeyword::None ? FormulaToken::Kind::Identifier
                                                           : FormulaToken::Kind::Keyword;
        token.text = name.toString();
        push(token);
    }

    void decimal() {
        const SourcePosition start = here();
        std::string ascii;
        auto take = [&] { ascii += char(peek().unicode()), ++at_; };
        while (isAsciiDigit(peek()))
            take();
        if (peek() == QLatin1Char('.')) {
            take();
            while (isAsciiDigit(peek()))
                take();
        }
        const bool exponentSign = peek(1) == QLatin1Char('+') || peek(1) == QLatin1Char('-');
        if ((peek() == QLatin1Char('e') || peek() == QLatin1Char('E')) &&
            (isAsciiDigit(peek(1)) || (exponentSign && isAsciiDigit(peek(2))))) {
            take();
            if (exponentSign)
                take();
            while (isAsciiDigit(peek()))
                take();
        }
        double value = 0;
        const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
        if (result.ec != std::errc())
            fail(N::Overflow, start);
        pushNumber(start, value);
    }

    void pushNumber(SourcePosition start, double value) {
        FormulaToken token;
        token.kind = FormulaToken::Kind::Number;
        token.number = value;
        token.position = start;
        push(token);
    }

    // &H1F and &O17; false when the "&" is the concatenation operator.
    bool radixNumber() {
        const QChar radix = peek(1).toUpper();
        const int base = radix == QLatin1Char('H') ? 16 : (radix == QLatin1Char('O') ? 8 : 0);
        if (base == 0 || !isRadixDigit(peek(2), base))
            return false;
        const SourcePosition start = here();
        const qsizetype begin = at_;
        at_ += 2;
        while (isRadixDigit(peek(), base))
            ++at_;
        double value = 0;
        if (!parseNumberText(QStringView(text_).mid(begin, at_ - begin), value))
            fail(N::Overflow, start);
        pushNumber(start, value);
        return true;
    }

    void string() {
        const SourcePosition start = here();
        QString value;
        ++at_;
        for (;;) {
            if (at_ >= text_.size() || isLineBreak(peek()))
                fail(N::UnterminatedString, start);
            if (peek() == QLatin1Char('"')) {
                if (peek(1) != QLatin1Char('"'))
                    break;
                ++at_;
            }
            value += peek();
            ++at_;
        }
        ++at_;
        FormulaToken token;
        token.kind = FormulaToken::Kind::String;
        token.text = value;
        token.position = start;
        push(token);
    }

    void date() {
        const SourcePosition start = here();
        const qsizetype begin = at_ + 1;
        qsizetype end = begin;
        while (end < text_.size() && text_[end] != QLatin1Char('#') && !isLineBreak(text_[end]))
            ++end;
        const bool closed = end < text_.size() && text_[end] == QLatin1Char('#');
        const QStringView content = QStringView(text_).mid(begin, end - begin);
        double value = 0;
        if (!closed || !FormulaDate::parse(content, value))
            fail(N::SyntaxError, start,
                 QStringLiteral("Invalid date literal: #") + content.toString() +
                     (closed ? QStringLiteral("#") : QString()));
        at_ = end + 1;
        FormulaToken token;
        token.kind = FormulaToken::Kind::Date;
        token.number = value;
        token.position = start;
        push(token);
    }

    // " _" at the end of a line joins the next line to this statement.
    void continuation() {
        const SourcePosition start = here();
        qsizetype i = at_ + 1;
        while (i < text_.size() && isBlank(text_[i]))
            ++i;
        if (i < text_.size() && !isLineBreak(text_[i]))
            fail(N::InvalidCharacter, start);
        at_ = i;
        if (at_ < text_.size())
            skipLineBreak();
    }

    void symbol() {
        const QChar c = peek();
        const QChar d = peek(1);
        switch (c.unicode()) {
        case '+':
            return pushSymbol(FormulaSymbol::Plus, 1);
        case '-':
            return pushSymbol(FormulaSymbol::Minus, 1);
        case '*':
            return pushSymbol(FormulaSymbol::Star, 1);
        case '/':
            return pushSymbol(FormulaSymbol::Slash, 1);
        case '\\':
            return pushSymbol(FormulaSymbol::Backslash, 1);
        case '^':
            return pushSymbol(FormulaSymbol::Caret, 1);
        case '&':
            return pushSymbol(FormulaSymbol::Ampersand, 1);
        case '=':
            return pushSymbol(FormulaSymbol::Equal, 1);
        case '(':
            return pushSymbol(FormulaSymbol::LeftParen, 1);
        case ')':
            return pushSymbol(FormulaSymbol::RightParen, 1);
        case ',':
            return pushSymbol(FormulaSymbol::Comma, 1);
        case '.':
            return pushSymbol(FormulaSymbol::Dot, 1);
        case ':':
            return pushSymbol(FormulaSymbol::Colon, 1);
        case '<':
            if (d == QLatin1Char('='))
                return pushSymbol(FormulaSymbol::LessEqual, 2);
            if (d == QLatin1Char('>'))
                return pushSymbol(FormulaSymbol::NotEqual, 2);
            return pushSymbol(FormulaSymbol::Less, 1);
        case '>':
            if (d == QLatin1Char('='))
                return pushSymbol(FormulaSymbol::GreaterEqual, 2);
            return pushSymbol(FormulaSymbol::Greater, 1);
        default:
            fail(N::InvalidCharacter, here());
        }
    }

    const QString& text_;
    qsizetype at_ = 0;
    qsizetype lineStart_ = 0;
    int line_ = 1;
    std::vector<FormulaToken> tokens_;
};

} // namespace

std::vector<FormulaToken> FormulaLexer::tokenize(const QString& text) {
    return Lexer(text).run();
}

} // namespace velora::engine
