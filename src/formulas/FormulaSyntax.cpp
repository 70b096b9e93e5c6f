#include "FormulaSyntax.h"

#include "engine/FormulaNameTable.h"

namespace velora::formulas {

namespace {

bool isLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

bool isDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}

bool isNameChar(QChar c) {
    return isLetter(c) || isDigit(c) || c == QLatin1Char('_');
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar(0xA0);
}

bool isWord(QStringView word, const char* keyword) {
    return word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

// The words of the language's statements and operators; Results is the one object.
bool isKeyword(QStringView word) {
    static const char* const Keywords[] = {"And",  "Or",   "Xor",    "Not",  "Mod",    "If",
                                           "Then", "Else", "ElseIf", "End",  "Select", "Case",
                                           "Is",   "To",   "Dim",    "True", "False",  "Results"};
    for (const char* keyword : Keywords) {
        if (isWord(word, keyword))
            return true;
    }
    return false;
}

class LineScanner {
public:
    LineScanner(const QString& text, bool continued)
        : text_(text)
        , statementStart_(!continued) {}

    FormulaSyntax::Line run() {
        while (at_ < text_.size())
            next();
        return std::move(line_);
    }

private:
    QChar peek(qsizetype offset = 0) const {
        const qsizetype i = at_ + offset;
        return i < text_.size() ? text_[i] : QChar();
    }

    void span(qsizetype start, FormulaSpanKind kind) {
        line_.spans.append({int(start), int(at_ - start), kind});
    }

    void next() {
        const QChar c = peek();
        if (isBlank(c)) {
            ++at_;
            return;
        }
        if (c == QLatin1Char('\'')) {
            comment();
        } else if (isLetter(c)) {
            word();
            return; // word() decides whether a statement may start next
        } else if (isDigit(c) || (c == QLatin1Char('.') && isDigit(peek(1)))) {
            decimal();
        } else if (c == QLatin1Char('&') && radixNumber()) {
        } else if (c == QLatin1Char('"')) {
            string();
        } else if (c == QLatin1Char('#') && text_.indexOf(QLatin1Char('#'), at_ + 1) > at_) {
            const qsizetype start = at_;
            at_ = text_.indexOf(QLatin1Char('#'), at_ + 1) + 1;
            span(start, FormulaSpanKind::Number);
        } else if (c == QLatin1Char('_') && continuation()) {
            line_.continues = true;
        } else {
            ++at_;
            statementStart_ = c == QLatin1Char(':');
            return;
        }
        statementStart_ = false;
    }

    void comment() {
        const qsizetype start = at_;
        at_ = text_.size();
        span(start, FormulaSpanKind::Comment);
    }

    void word() {
        const qsizetype start = at_;
        while (isNameChar(peek()))
            ++at_;
        const QStringView name = QStringView(text_).mid(start, at_ - start);
        if (isWord(name, "Rem") && statementStart_) {
            at_ = start;
            comment();
            return;
        }
        // Rem comments where a statement starts, also right after Then or Else.
        statementStart_ = isWord(name, "Then") || isWord(name, "Else");
        if (afterResults_) {
            afterResults_ = false;
            span(start, FormulaSpanKind::Keyword);
            return;
        }
        if (isKeyword(name)) {
            afterResults_ = isWord(name, "Results") && peek() == QLatin1Char('.');
            if (afterResults_)
                ++at_;
            span(start, FormulaSpanKind::Keyword);
            return;
        }
        named(start, name);
    }

    // An input or a function of the evaluator. IsLastDayOfMonth is documented as an input,
    // though the evaluator also takes it as a call.
    void named(qsizetype start, QStringView name) {
        const engine::NameEntry* entry = engine::FormulaNameTable::find(name);
        if (!entry)
            return;
        if (entry->kind == engine::NameEntry::Kind::Input ||
            (entry->kind == engine::NameEntry::Kind::Function &&
             entry->function == engine::BuiltinId::IsLastDayOfMonth))
            span(start, FormulaSpanKind::Input);
        else if (entry->kind == engine::NameEntry::Kind::Function)
            span(start, FormulaSpanKind::Function);
    }

    void decimal() {
        const qsizetype start = at_;
        while (isDigit(peek()))
            ++at_;
        if (peek() == QLatin1Char('.')) {
            ++at_;
            while (isDigit(peek()))
                ++at_;
        }
        const bool sign = peek(1) == QLatin1Char('+') || peek(1) == QLatin1Char('-');
        if ((peek() == QLatin1Char('e') || peek() == QLatin1Char('E')) &&
            (isDigit(peek(1)) || (sign && isDigit(peek(2))))) {
            at_ += sign ? 2 : 1;
            while (isDigit(peek()))
                ++at_;
        }
        span(start, FormulaSpanKind::Number);
    }

    // &H1F or &O17; false when the "&" joins texts.
    bool radixNumber() {
        const QChar radix = peek(1).toUpper();
        auto isRadixDigit = [radix](QChar c) {
            if (radix == QLatin1Char('O'))
                return c.unicode() >= '0' && c.unicode() <= '7';
            const char16_t u = c.toUpper().unicode();
            return isDigit(c) || (u >= 'A' && u <= 'F');
        };
        if ((radix != QLatin1Char('H') && radix != QLatin1Char('O')) || !isRadixDigit(peek(2)))
            return false;
        const qsizetype start = at_;
        at_ += 2;
        while (isRadixDigit(peek()))
            ++at_;
        span(start, FormulaSpanKind::Number);
        return true;
    }

    // Up to the closing quote; "" is a quote inside. An unterminated string runs to the end.
    void string() {
        const qsizetype start = at_++;
        while (at_ < text_.size()) {
            if (peek() == QLatin1Char('"')) {
                if (peek(1) != QLatin1Char('"')) {
                    ++at_;
                    break;
                }
                ++at_;
            }
            ++at_;
        }
        span(start, FormulaSpanKind::String);
    }

    // " _" with nothing but blanks behind it.
    bool continuation() {
        if (at_ > 0 && !isBlank(text_[at_ - 1]))
            return false;
        for (qsizetype i = at_ + 1; i < text_.size(); ++i) {
            if (!isBlank(text_[i]))
                return false;
        }
        at_ = text_.size();
        return true;
    }

    const QString& text_;
    qsizetype at_ = 0;
    bool statementStart_;
    bool afterResults_ = false;
    FormulaSyntax::Line line_;
};

} // namespace

FormulaSyntax::Line FormulaSyntax::classify(const QString& line, bool continued) {
    return LineScanner(line, continued).run();
}

} // namespace velora::formulas
