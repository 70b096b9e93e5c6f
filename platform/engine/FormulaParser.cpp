#include "FormulaParser.h"

#include "FormulaNameTable.h"

namespace velora::engine {

namespace {

namespace N = FormulaErrorNumber;
using namespace ast;
using Kind = FormulaToken::Kind;

// Formulas are short; these bounds keep a hostile text from exhausting the stack. They bound
// what nests (parentheses, calls, blocks, unary operators, right operands), never the length
// of a flat chain such as 1 + 1 + ... + 1, which is parsed and compiled in loops.
constexpr int MaxNesting = 200;
constexpr int MaxCompileNesting = 250;

QString expected(const char* what) {
    return QStringLiteral("Expected ") + QLatin1String(what);
}

class Parser {
public:
    explicit Parser(const std::vector<FormulaToken>& tokens)
        : tokens_(tokens) {}

    Block program() {
        Block block = parseBlock();
        if (peek().kind != Kind::End)
            syntaxError(peek().position);
        return block;
    }

private:
    // ---- tokens

    const FormulaToken& peek(size_t offset = 0) const {
        const size_t i = at_ + offset;
        return i < tokens_.size() ? tokens_[i] : tokens_.back();
    }
    const FormulaToken& take() {
        const FormulaToken& token = peek();
        if (at_ + 1 < tokens_.size())
            ++at_;
        return token;
    }
    bool accept(FormulaKeyword keyword) {
        if (!peek().is(keyword))
            return false;
        take();
        return true;
    }
    bool accept(FormulaSymbol symbol) {
        if (!peek().is(symbol))
            return false;
        take();
        return true;
    }

    [[noreturn]] void fail(int number, const QString& text, SourcePosition where) {
        throw FormulaCompileError(FormulaFault::withText(number, text), where);
    }
    [[noreturn]] void failWithSubject(int number, const QString& subject, SourcePosition where) {
        throw FormulaCompileError(FormulaFault::withSubject(number, subject), where);
    }
    [[noreturn]] void syntaxError(SourcePosition where) {
        failWithSubject(N::SyntaxError, QString(), where);
    }
    void expect(FormulaKeyword keyword, const char* what) {
        if (!accept(keyword))
            fail(N::SyntaxError, expected(what), peek().position);
    }
    void expect(FormulaSymbol symbol, const char* what) {
        if (!accept(symbol))
            fail(N::SyntaxError, expected(what), peek().position);
    }

    // A statement is complete: what follows must end it. Eqv and Imp get their own message.
    void expectStatementEnd(bool allowElse = false) {
        const FormulaToken& token = peek();
        if (token.endsStatement() || (allowElse && token.is(FormulaKeyword::Else)))
            return;
        if (token.kind == Kind::Identifier) {
            const NameEntry* entry = FormulaNameTable::find(token.text);
            if (entry && entry->kind == NameEntry::Kind::Refused)
                fail(N::SyntaxError, FormulaNameTable::refusal(*entry), token.position);
        }
        failWithSubject(N::ExpectedEndOfStatement, QString(), token.position);
    }

    void skipSeparators() {
        while (peek().kind == Kind::Newline || peek().is(FormulaSymbol::Colon))
            take();
    }

    class Nesting {
    public:
        Nesting(Parser& parser, SourcePosition where)
            : parser_(parser) {
            if (++parser_.nesting_ > MaxNesting)
                parser_.failWithSubject(N::OutOfStackSpace, QString(), where);
        }
        ~Nesting() { --parser_.nesting_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        Parser& parser_;
    };

    // ---- statements

    // Statements up to the end of the text or a word that closes or divides a block.
    Block parseBlock() {
        Block block;
        for (;;) {
            skipSeparators();
            const FormulaToken& token = peek();
            if (token.kind == Kind::End || token.is(FormulaKeyword::End) ||
                token.is(FormulaKeyword::Else) || token.is(FormulaKeyword::ElseIf) ||
                token.is(FormulaKeyword::Case))
                return block;
            block.push_back(parseStatement(false));
            expectStatementEnd();
        }
    }

    // The statements of a one-line If: up to the end of the line or its Else.
    Block parseInlineStatements() {
        Block block;
        for (;;) {
            if (accept(FormulaSymbol::Colon))
                continue;
            const FormulaToken& token = peek();
            if (token.kind == Kind::Newline || token.kind == Kind::End ||
                token.is(FormulaKeyword::Else))
                return block;
            block.push_back(parseStatement(true));
            expectStatementEnd(true);
        }
    }

    StatementPtr parseStatement(bool inlineIf) {
        const FormulaToken& token = peek();
        Nesting nesting(*this, token.position);
        if (token.is(FormulaKeyword::Dim))
            return parseDim();
        if (token.is(FormulaKeyword::If))
            return parseIf(inlineIf);
        if (token.is(FormulaKeyword::Select)) {
            if (inlineIf)
                syntaxError(token.position);
            return parseSelect();
        }
        if (token.kind == Kind::Identifier) {
            const QString refusal = FormulaNameTable::statementRefusal(token.text);
            if (!refusal.isEmpty())
                fail(N::SyntaxError, refusal, token.position);
            return parseAssignment();
        }
        if (token.kind == Kind::Keyword && !token.is(FormulaKeyword::True) &&
            !token.is(FormulaKeyword::False))
            syntaxError(token.position);
        fail(N::SyntaxError, expected("statement"), token.position);
    }

    StatementPtr parseDim() {
        auto statement = std::make_unique<Statement>();
        statement->kind = Statement::Kind::Dim;
        statement->position = take().position;
        do {
            const FormulaToken& name = peek();
            if (name.kind != Kind::Identifier)
                fail(N::SyntaxError, expected("identifier"), name.position);
            take();
            if (peek().is(FormulaSymbol::LeftParen))
                fail(N::SyntaxError, QStringLiteral("Arrays are not available in formulas"),
                     peek().position);
            statement->names.push_back({name.text, name.position});
        } while (accept(FormulaSymbol::Comma));
        return statement;
    }

    StatementPtr parseAssignment() {
        const FormulaToken& name = take();
        auto statement = std::make_unique<Statement>();
        statement->position = name.position;
        if (accept(FormulaSymbol::Dot)) {
            statement->kind = Statement::Kind::AssignResult;
            statement->field = parseResultField(name);
        } else {
            const NameEntry* entry = FormulaNameTable::find(name.text);
            if (entry && entry->kind == NameEntry::Kind::Refused)
                fail(N::SyntaxError, FormulaNameTable::refusal(*entry), name.position);
            if (isResults(name))
                failWithSubject(N::IllegalAssignment, name.text, name.position);
            statement->kind = Statement::Kind::AssignLocal;
            statement->target = {name.text, name.position};
        }
        expect(FormulaSymbol::Equal, "'='");
        statement->value = parseExpression();
        return statement;
    }

    static bool isResults(const FormulaToken& token) {
        return token.kind == Kind::Identifier &&
               token.text.compare(QLatin1String("Results"), Qt::CaseInsensitive) == 0;
    }

    // After "name.": only Results has members, and only these three.
    ResultField parseResultField(const FormulaToken& object) {
        if (!isResults(object))
            failWithSubject(N::ObjectRequired, object.text, object.position);
        const FormulaToken& member = peek();
        if (member.kind != Kind::Identifier && member.kind != Kind::Keyword)
            fail(N::SyntaxError, expected("identifier"), member.position);
        take();
        if (member.text.compare(QLatin1String("IHours"), Qt::CaseInsensitive) == 0)
            return ResultField::Hours;
        if (member.text.compare(QLatin1String("ILines"), Qt::CaseInsensitive) == 0)
            return ResultField::Lines;
        if (member.text.compare(QLatin1String("IPay"), Qt::CaseInsensitive) == 0)
            return ResultField::Pay;
        failWithSubject(N::NoSuchMember, object.text + QLatin1Char('.') + member.text,
                        member.position);
    }

    StatementPtr parseIf(bool inlineIf) {
        auto statement = std::make_unique<Statement>();
        statement->kind = Statement::Kind::If;
        statement->position = take().position;
        ExpressionPtr condition = parseExpression();
        expect(FormulaKeyword::Then, "'Then'");
        const bool block = peek().kind == Kind::Newline || peek().kind == Kind::End;
        if (!block) {
            statement->branches.push_back({std::move(condition), parseInlineStatements()});
            if (accept(FormulaKeyword::Else))
                statement->elseBody = parseInlineStatements();
            return statement;
        }
        if (inlineIf)
            syntaxError(peek().position);
        statement->branches.push_back({std::move(condition), parseBlock()});
        while (accept(FormulaKeyword::ElseIf)) {
            condition = parseExpression();
            expect(FormulaKeyword::Then, "'Then'");
            statement->branches.push_back({std::move(condition), parseBlock()});
        }
        if (accept(FormulaKeyword::Else))
            statement->elseBody = parseBlock();
        expectEnd(FormulaKeyword::If, "'End If'", statement->position);
        return statement;
    }

    // "End If" / "End Select" closing a block opened at `opened`. When the text ends first,
    // the error points at the opening statement, which is the one to fix.
    void expectEnd(FormulaKeyword closes, const char* what, SourcePosition opened) {
        const FormulaToken& token = peek();
        if (token.kind == Kind::End)
            fail(N::SyntaxError, expected(what), opened);
        if (!token.is(FormulaKeyword::End) || !peek(1).is(closes))
            fail(N::SyntaxError, expected(what), token.position);
        take();
        take();
    }

    StatementPtr parseSelect() {
        auto statement = std::make_unique<Statement>();
        statement->kind = Statement::Kind::Select;
        statement->position = take().position;
        expect(FormulaKeyword::Case, "'Case'");
        statement->value = parseExpression();
        expectStatementEnd();
        for (;;) {
            skipSeparators();
            const FormulaToken& token = peek();
            if (!token.is(FormulaKeyword::Case)) {
                if (token.kind == Kind::End || token.is(FormulaKeyword::End) ||
                    token.is(FormulaKeyword::Else) || token.is(FormulaKeyword::ElseIf))
                    break;
                fail(N::SyntaxError, expected("'Case'"), token.position);
            }
            if (!statement->cases.empty() && statement->cases.back().isElse)
                fail(N::SyntaxError, expected("'End Select'"), token.position);
            statement->cases.push_back(parseCase());
        }
        expectEnd(FormulaKeyword::Select, "'End Select'", statement->position);
        return statement;
    }

    CaseClause parseCase() {
        CaseClause clause;
        clause.position = take().position;
        if (accept(FormulaKeyword::Else)) {
            clause.isElse = true;
        } else {
            do
                clause.items.push_back(parseCaseItem());
            while (accept(FormulaSymbol::Comma));
        }
        expectStatementEnd();
        clause.body = parseBlock();
        return clause;
    }

    CaseItem parseCaseItem() {
        CaseItem item;
        item.position = peek().position;
        if (accept(FormulaKeyword::Is)) {
            item.kind = CaseItem::Kind::Is;
            if (!comparisonAhead(item.comparison))
                fail(N::SyntaxError, expected("comparison operator"), peek().position);
            take();
            item.first = parseExpression();
            return item;
        }
        item.first = parseExpression();
        if (accept(FormulaKeyword::To)) {
            item.kind = CaseItem::Kind::Range;
            item.last = parseExpression();
        }
        return item;
    }

    // ---- expressions, from the lowest precedence up

    ExpressionPtr parseExpression() {
        Nesting nesting(*this, peek().position);
        return parseXor();
    }

    ExpressionPtr binary(BinaryOperator op, SourcePosition where, ExpressionPtr left,
                         ExpressionPtr right) {
        auto node = std::make_unique<Expression>();
        node->kind = Expression::Kind::Binary;
        node->binary = op;
        node->position = where;
        node->height = 1 + std::max(left->height, right->height);
        node->nesting = left->kind == Expression::Kind::Binary
                            ? std::max(left->nesting, 1 + right->nesting)
                            : 1 + std::max(left->nesting, right->nesting);
        if (node->nesting > MaxCompileNesting)
            failWithSubject(N::OutOfStackSpace, QString(), where);
        node->operands.push_back(std::move(left));
        node->operands.push_back(std::move(right));
        return node;
    }

    ExpressionPtr unary(UnaryOperator op, SourcePosition where, ExpressionPtr operand) {
        auto node = std::make_unique<Expression>();
        node->kind = Expression::Kind::Unary;
        node->unary = op;
        node->position = where;
        node->height = 1 + operand->height;
        node->nesting = 1 + operand->nesting;
        if (node->nesting > MaxCompileNesting)
            failWithSubject(N::OutOfStackSpace, QString(), where);
        node->operands.push_back(std::move(operand));
        return node;
    }

    template <typename Next>
    ExpressionPtr keywordLevel(FormulaKeyword keyword, BinaryOperator op, Next next) {
        ExpressionPtr left = (this->*next)();
        while (peek().is(keyword)) {
            const SourcePosition where = take().position;
            left = binary(op, where, std::move(left), (this->*next)());
        }
        return left;
    }

    ExpressionPtr parseXor() {
        return keywordLevel(FormulaKeyword::Xor, BinaryOperator::Xor, &Parser::parseOr);
    }
    ExpressionPtr parseOr() {
        return keywordLevel(FormulaKeyword::Or, BinaryOperator::Or, &Parser::parseAnd);
    }
    ExpressionPtr parseAnd() {
        return keywordLevel(FormulaKeyword::And, BinaryOperator::And, &Parser::parseNot);
    }

    ExpressionPtr parseNot() {
        if (!peek().is(FormulaKeyword::Not))
            return parseComparison();
        const SourcePosition where = take().position;
        Nesting nesting(*this, where);
        return unary(UnaryOperator::Not, where, parseNot());
    }

    bool comparisonAhead(Comparison& comparison) const {
        switch (peek().kind == Kind::Symbol ? peek().symbol : FormulaSymbol::None) {
        case FormulaSymbol::Equal:
            comparison = Comparison::Equal;
            return true;
        case FormulaSymbol::NotEqual:
            comparison = Comparison::NotEqual;
            return true;
        case FormulaSymbol::Less:
            comparison = Comparison::Less;
            return true;
        case FormulaSymbol::LessEqual:
            comparison = Comparison::LessEqual;
            return true;
        case FormulaSymbol::Greater:
            comparison = Comparison::Greater;
            return true;
        case FormulaSymbol::GreaterEqual:
            comparison = Comparison::GreaterEqual;
            return true;
        default:
            return false;
        }
    }

    static BinaryOperator comparisonOperator(Comparison comparison) {
        return BinaryOperator(int(BinaryOperator::Equal) + int(comparison));
    }

    ExpressionPtr parseComparison() {
        ExpressionPtr left = parseConcatenation();
        Comparison comparison = Comparison::Equal;
        while (comparisonAhead(comparison)) {
            const SourcePosition where = take().position;
            left = binary(comparisonOperator(comparison), where, std::move(left),
                          parseConcatenation());
        }
        return left;
    }

    template <typename Next>
    ExpressionPtr symbolLevel(FormulaSymbol first, BinaryOperator firstOp, FormulaSymbol second,
                              BinaryOperator secondOp, Next next) {
        ExpressionPtr left = (this->*next)();
        for (;;) {
            const FormulaToken& token = peek();
            BinaryOperator op = firstOp;
            if (token.is(second) && second != FormulaSymbol::None)
                op = secondOp;
            else if (!token.is(first))
                return left;
            const SourcePosition where = take().position;
            left = binary(op, where, std::move(left), (this->*next)());
        }
    }

    ExpressionPtr parseConcatenation() {
        return symbolLevel(FormulaSymbol::Ampersand, BinaryOperator::Concatenate,
                           FormulaSymbol::None, BinaryOperator::Concatenate,
                           &Parser::parseAdditive);
    }
    ExpressionPtr parseAdditive() {
        return symbolLevel(FormulaSymbol::Plus, BinaryOperator::Add, FormulaSymbol::Minus,
                           BinaryOperator::Subtract, &Parser::parseModulo);
    }
    ExpressionPtr parseModulo() {
        return keywordLevel(FormulaKeyword::Mod, BinaryOperator::Modulo,
                            &Parser::parseIntegerDivision);
    }
    ExpressionPtr parseIntegerDivision() {
        return symbolLevel(FormulaSymbol::Backslash, BinaryOperator::IntegerDivide,
                           FormulaSymbol::None, BinaryOperator::IntegerDivide,
                           &Parser::parseMultiplicative);
    }
    ExpressionPtr parseMultiplicative() {
        return symbolLevel(FormulaSymbol::Star, BinaryOperator::Multiply, FormulaSymbol::Slash,
                           BinaryOperator::Divide, &Parser::parsePower);
    }
    // ^ binds looser than unary minus and associates to the left: -3^2 = 9, 2^3^2 = 64.
    ExpressionPtr parsePower() {
        return symbolLevel(FormulaSymbol::Caret, BinaryOperator::Power, FormulaSymbol::None,
                           BinaryOperator::Power, &Parser::parseUnary);
    }

    ExpressionPtr parseUnary() {
        const FormulaToken& token = peek();
        if (!token.is(FormulaSymbol::Minus) && !token.is(FormulaSymbol::Plus))
            return parsePrimary();
        const SourcePosition where = take().position;
        Nesting nesting(*this, where);
        const UnaryOperator op =
            token.is(FormulaSymbol::Minus) ? UnaryOperator::Negate : UnaryOperator::Plus;
        return unary(op, where, parseUnary());
    }

    ExpressionPtr literal(Expression::Kind kind, const FormulaToken& token) {
        auto node = std::make_unique<Expression>();
        node->kind = kind;
        node->position = token.position;
        node->number = token.number;
        node->text = token.text;
        return node;
    }

    ExpressionPtr parsePrimary() {
        const FormulaToken& token = peek();
        switch (token.kind) {
        case Kind::Number:
            return literal(Expression::Kind::Number, take());
        case Kind::String:
            return literal(Expression::Kind::String, take());
        case Kind::Date:
            return literal(Expression::Kind::Date, take());
        case Kind::Identifier:
            return parseName();
        default:
            break;
        }
        if (token.is(FormulaKeyword::True) || token.is(FormulaKeyword::False)) {
            ExpressionPtr node = literal(Expression::Kind::Boolean, take());
            node->number = token.is(FormulaKeyword::True) ? -1 : 0;
            return node;
        }
        if (accept(FormulaSymbol::LeftParen)) {
            ExpressionPtr inner = parseExpression();
            expect(FormulaSymbol::RightParen, "')'");
            return inner;
        }
        if (token.is(FormulaKeyword::Is))
            fail(N::SyntaxError,
                 QStringLiteral("'Is' is not available in formulas: there are no objects "
                                "other than Results"),
                 token.position);
        fail(N::SyntaxError, expected("expression"), token.position);
    }

    ExpressionPtr parseName() {
        const FormulaToken& name = take();
        auto node = std::make_unique<Expression>();
        node->position = name.position;
        node->text = name.text;
        if (accept(FormulaSymbol::Dot)) {
            node->kind = Expression::Kind::Result;
            node->field = parseResultField(name);
            return node;
        }
        if (isResults(name))
            failWithSubject(N::NoSuchMember, name.text, name.position);
        if (!accept(FormulaSymbol::LeftParen)) {
            node->kind = Expression::Kind::Name;
            return node;
        }
        node->kind = Expression::Kind::Call;
        if (!accept(FormulaSymbol::RightParen)) {
            do {
                node->operands.push_back(parseExpression());
                node->height = std::max(node->height, 1 + node->operands.back()->height);
                node->nesting = std::max(node->nesting, 1 + node->operands.back()->nesting);
            } while (accept(FormulaSymbol::Comma));
            expect(FormulaSymbol::RightParen, "')'");
        }
        if (node->nesting > MaxCompileNesting)
            failWithSubject(N::OutOfStackSpace, QString(), name.position);
        return node;
    }

    const std::vector<FormulaToken>& tokens_;
    size_t at_ = 0;
    int nesting_ = 0;
};

} // namespace

ast::Block FormulaParser::parse(const std::vector<FormulaToken>& tokens) {
    return Parser(tokens).program();
}

} // namespace velora::engine
