// libFuzzer target for the T-SQL translator: any statement text either fails with DbError or
// becomes SQLite text that lexes cleanly and holds exactly one statement (no ";"), so that
// nothing but the statement as written can ever reach the database.
//
// Build with clang from the repository root:
//   clang++ -std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined \
//     -DQT_NO_KEYWORDS -Iplatform $(pkg-config --cflags Qt6Core) \
//     fuzz/fuzz_tsql_translator.cpp platform/db/Tsql*.cpp platform/db/SqliteTextWriter.cpp \
//     $(pkg-config --libs Qt6Core) -o fuzz_tsql_translator
//   ./fuzz_tsql_translator -max_len=4096
//
// The first byte of the input chooses the regional date format; the rest is the statement.

#include "db/DbError.h"
#include "db/TsqlLexer.h"
#include "db/TsqlTranslator.h"

#include <cstdint>
#include <cstdlib>

namespace {

void checkSqliteText(const QString& sql) {
    for (const velora::db::TsqlToken& token : velora::db::TsqlLexer::tokenize(sql)) {
        if (token.isOperator(QLatin1String(";")))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static const char* const formats[] = {"MM/dd/yyyy", "dd.MM.yyyy", "yyyy-MM-dd", "d/M/yy",
                                          "dd-MMM-yyyy"};
    const QString format = QString::fromLatin1(formats[data[0] % std::size(formats)]);
    const QString statement = QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                                static_cast<qsizetype>(size - 1));
    const velora::db::TsqlTranslator translator(format);
    velora::db::TranslatedStatement translated;
    try {
        translated = translator.translate(statement);
    } catch (const velora::db::DbError&) {
        return 0;
    }
    if (translated.kind == velora::db::TranslatedStatement::Kind::Sql) {
        try {
            checkSqliteText(translated.sql);
        } catch (const velora::db::DbError&) {
            std::abort(); // the translator wrote text that does not even lex
        }
    }
    (void)translator.normaliseDate(statement);
    return 0;
}
