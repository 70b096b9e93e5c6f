#include "ProductionFigures.h"

#include "db/Recordset.h"

namespace velora::engine {

void readProductionFigures(const db::Recordset& row, RowInputs& inputs) {
    inputs.reports = row.value(QStringLiteral("number_rpts_modified")).toDouble();
    inputs.charLines = row.value(QStringLiteral("chars_modified")).toDouble();
    inputs.trueLines = row.value(QStringLiteral("lines_modified")).toDouble();
    inputs.pages = row.value(QStringLiteral("pages_modified")).toDouble();
    inputs.hoursTyped = row.value(QStringLiteral("hours_typed_modified")).toDouble();
    inputs.systemHours = row.value(QStringLiteral("hours_system_modified")).toDouble();
    inputs.otherHours = row.value(QStringLiteral("hours_other_modified")).toDouble();
}

} // namespace velora::engine
