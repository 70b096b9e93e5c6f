#pragma once

#include "FormulaErrors.h"

#include <QString>
#include <cstdint>

namespace velora::engine {

enum class FormulaKeyword : std::uint8_t {
    None,
    And,
    Or,
    Xor,
    Not,
    Mod,
    If,
    Then,
    Else,
    ElseIf,
    End,
    Select,
    Case,
    Is,
    To,
    Dim,
    True,
    False
};

enum class FormulaSymbol : std::uint8_t {
    None,
    Plus,
    Minus,
    Star,
    Slash,
    Backslash,
    Caret,
    Ampersand,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    LeftParen,
    RightParen,
    Comma,
    Dot,
    Colon
};

// One token of formula text. Line breaks are tokens (statements end there); ":" is a symbol.
struct FormulaToken {
    enum class Kind : std::uint8_t {
        Identifier,
        Keyword,
        Number,
        String,
        Date,
        Symbol,
        Newline,
        End
    };

    Kind kind = Kind::End;
    FormulaKeyword keyword = FormulaKeyword::None;
    FormulaSymbol symbol = FormulaSymbol::None;
    QString text;      // Identifier: the name as written; String: the value
    double number = 0; // Number, Date
    SourcePosition position;

    bool is(FormulaKeyword word) const { return kind == Kind::Keyword && keyword == word; }
    bool is(FormulaSymbol s) const { return kind == Kind::Symbol && symbol == s; }
    // The end of a statement: a line break, ":" or the end of the text.
    bool endsStatement() const {
        return kind == Kind::Newline || kind == Kind::End || is(FormulaSymbol::Colon);
    }
};

} // namespace velora::engine
