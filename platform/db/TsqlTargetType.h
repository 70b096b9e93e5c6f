#pragma once

#include "TsqlTree.h"

namespace velora::db {

// The target type of CONVERT or CAST, as far as SQLite needs to know it. Internal to the
// translator.
struct TsqlTargetType {
    enum class Kind { Decimal, Integer, Real, Text, Date };
    Kind kind = Kind::Text;
    int scale = 0;   // Decimal
    int length = -1; // Text: characters kept, -1 for all

    // "decimal(19,2)", "varchar(10)", "int", ... from the nodes [begin, end) of `args`.
    // Throws DbError for a malformed type and for a type SQLite cannot stand in for.
    static TsqlTargetType parse(const TsqlTree& tree, const TsqlTreeNodes& args, int begin,
                                int end);

private:
    static int integerArgument(const TsqlTree& tree, const TsqlTreeNodes& args, int i);
};

} // namespace velora::db
