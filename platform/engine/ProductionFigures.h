#pragma once

#include "FormulaTypes.h"

namespace velora::db {
class Recordset;
}

namespace velora::engine {

// Copies the current row's production figures (the _modified columns of Trans_incentive) into
// a formula's inputs; the row's identity and the incentive values are left alone.
void readProductionFigures(const db::Recordset& row, RowInputs& inputs);

} // namespace velora::engine
