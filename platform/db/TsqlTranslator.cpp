#include "TsqlTranslator.h"

#include "DbError.h"
#include "TsqlDateReader.h"
#include "TsqlDateRewriter.h"
#include "TsqlExecParser.h"
#include "TsqlLexer.h"
#include "TsqlStatementWriter.h"
#include "TsqlTree.h"

#include <QDate>
#include <utility>
#include <vector>

namespace velora::db {

namespace {

using Tokens = std::vector<TsqlToken>;

// The end of the one statement: tokens after the first ";" may only be further ";".
int statementEnd(const Tokens& tokens) {
    const int count = static_cast<int>(tokens.size());
    for (int i = 0; i < count; ++i) {
        if (!tokens[static_cast<size_t>(i)].isOperator(QLatin1String(";")))
            continue;
        for (int j = i + 1; j < count; ++j) {
            if (!tokens[static_cast<size_t>(j)].isOperator(QLatin1String(";")))
                throw DbError(ErrorNumber::CommandError,
                              QStringLiteral("Only one statement can be run at a time; '%1' "
                                             "follows the end of the statement.")
                                  .arg(tokens[static_cast<size_t>(j)].text));
        }
        return i;
    }
    return count;
}

} // namespace

TsqlTranslator::TsqlTranslator(QString regionalDateFormat)
    : regionalDateFormat_(std::move(regionalDateFormat)) {}

TranslatedStatement TsqlTranslator::translate(const QString& statement) const {
    const Tokens tokens = TsqlLexer::tokenize(statement);
    const int end = statementEnd(tokens);
    if (end == 0)
        throw DbError(ErrorNumber::CommandError,
                      QStringLiteral("Command text was not set for the command object."));
    const TsqlToken& first = tokens.front();
    if (first.isKeyword(QLatin1String("EXEC")) || first.isKeyword(QLatin1String("EXECUTE")))
        return TsqlExecParser(tokens, end).parse();
    const TsqlTree tree(tokens, end);
    TsqlDateRewriter dates(*this, tree, end);
    TranslatedStatement result;
    result.sql = TsqlStatementWriter(tree, dates).write();
    return result;
}

QString TsqlTranslator::normaliseDate(const QString& literal) const {
    const QStringView text = QStringView(literal).trimmed();
    QDate date = TsqlDateReader::isoDate(text);
    if (!date.isValid() && !regionalDateFormat_.isEmpty())
        date = TsqlDateReader::regionalDate(text, regionalDateFormat_);
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return {};
    return QString::asprintf("%04d-%02d-%02d", date.year(), date.month(), date.day());
}

} // namespace velora::db
