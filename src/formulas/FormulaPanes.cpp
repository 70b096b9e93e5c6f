#include "FormulaPanes.h"

#include "FormulaPane.h"
#include "common/AppContext.h"
#include "common/DetailArea.h"

namespace velora::formulas {

FormulaPanes::FormulaPanes(common::AppContext& context, common::DetailArea& details)
    : context_(context) {
    pane_ = new FormulaPane;
    details.setPaneContent(common::DetailArea::Pane::Formula, pane_);
}

FormulaPanes::~FormulaPanes() = default;

} // namespace velora::formulas
