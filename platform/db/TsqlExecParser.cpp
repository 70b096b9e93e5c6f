#include "TsqlExecParser.h"

#include "DbError.h"
#include "TsqlSyntax.h"

#include <limits>

namespace velora::db {

using namespace tsql;

namespace {

using Type = TsqlToken::Type;

} // namespace

TsqlExecParser::TsqlExecParser(const Tokens& tokens, int end)
    : tokens_(tokens)
    , end_(end) {}

TranslatedStatement TsqlExecParser::parse() {
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

const TsqlToken& TsqlExecParser::current() const {
    if (pos_ >= end_)
        syntaxError(tokens_[static_cast<size_t>(end_ - 1)].text);
    return tokens_[static_cast<size_t>(pos_)];
}

bool TsqlExecParser::atOutput() const {
    return pos_ < end_ && (current().isKeyword(QLatin1String("OUTPUT")) ||
                           current().isKeyword(QLatin1String("OUT")));
}

// The last part of a qualified name: "dbo.x" calls x.
QString TsqlExecParser::procedureName() {
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

ExecArgument TsqlExecParser::parseArgument() {
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

void TsqlExecParser::undeclared(const TsqlToken& variable) {
    throw DbError(ErrorNumber::CommandError,
                  QStringLiteral("Must declare the scalar variable \"%1\".").arg(variable.text));
}

// A number (with its sign), a string, NULL, or a bare word, which T-SQL passes as text.
QVariant TsqlExecParser::constant() {
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

QVariant TsqlExecParser::numberValue(const QString& text) {
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

} // namespace velora::db
