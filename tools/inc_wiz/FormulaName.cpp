#include "FormulaName.h"

#include "db/Connection.h"
#include "db/SqlText.h"

namespace velora::wizard {

QString FormulaName::problem(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("Type a name for the formula.");
    if (trimmed.size() > kMaxLength)
        return kTooLong;
    if (trimmed.contains(QLatin1Char('\r')) || trimmed.contains(QLatin1Char('\n')))
        return QStringLiteral("The name must fit on one line.");
    return {};
}

QString FormulaName::problem(const QString& name, db::Connection& connection, int partitionId) {
    const QString why = problem(name);
    if (!why.isEmpty())
        return why;
    connection.ensureOpen();
    db::Recordset existing = connection.openRecordset(
        QStringLiteral("SELECT formula_id FROM Incentive_formula WHERE formula_name = ") +
        db::sqlTextLiteral(name.trimmed()) + QStringLiteral(" AND partition_id = ") +
        QString::number(partitionId));
    if (!existing.eof())
        return QStringLiteral("A formula named \"%1\" already exists. Choose another name.")
            .arg(name.trimmed());
    return {};
}

} // namespace velora::wizard
