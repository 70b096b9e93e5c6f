#pragma once

#include "TsqlLexer.h"
#include "TsqlTranslator.h"

#include <QString>
#include <QVariant>
#include <vector>

namespace velora::db {

// Reads "EXEC[UTE] [schema.]name [argument [, argument ...]]": the procedure's name and its
// arguments, positional or "@name = value", constants or output parameters ("@name OUTPUT").
// Throws DbError for what SQL Server refuses too. Internal to the translator.
class TsqlExecParser {
public:
    using Tokens = std::vector<TsqlToken>;

    // The statement in tokens [0, end), the first being EXEC or EXECUTE.
    TsqlExecParser(const Tokens& tokens, int end);

    TranslatedStatement parse();

private:
    const TsqlToken& current() const;
    bool atOutput() const;
    QString procedureName();
    ExecArgument parseArgument();
    [[noreturn]] static void undeclared(const TsqlToken& variable);
    QVariant constant();
    static QVariant numberValue(const QString& text);

    const Tokens& tokens_;
    int end_;
    int pos_ = 0;
};

} // namespace velora::db
