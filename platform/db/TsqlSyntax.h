#pragma once

#include "TsqlLexer.h"

#include <QString>

// What the translator's parts know about T-SQL words and operators, and how they report a
// statement they cannot translate. Internal to the translator.
namespace velora::db::tsql {

[[noreturn]] void syntaxError(const QString& near);
[[noreturn]] void unsupported(const QString& what);

// A word that never names a column or a function where an operand could start.
bool isReserved(const TsqlToken& token);
// A column whose values are dates stored as "YYYY-MM-DD" text.
bool isDateColumnName(const QString& name);

bool isComparison(const TsqlToken& t);
bool isAdditive(const TsqlToken& t);
bool isMultiplicative(const TsqlToken& t);
bool isUnary(const TsqlToken& t);
bool isArithmetic(const TsqlToken& t);
bool isName(const TsqlToken& t);

} // namespace velora::db::tsql
