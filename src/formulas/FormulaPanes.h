#pragma once

namespace velora::common {
struct AppContext;
class DetailArea;
} // namespace velora::common

namespace velora::formulas {

class FormulaPane;

// The formula pane with every operation behind it - editing and saving a formula, the tester,
// and creating, renaming and deleting formulas and groups - built once the operator is logged
// in. The main window places the pane and hands the explorer's events to these operations.
class FormulaPanes {
public:
    FormulaPanes(common::AppContext& context, common::DetailArea& details);
    ~FormulaPanes();
    FormulaPanes(const FormulaPanes&) = delete;
    FormulaPanes& operator=(const FormulaPanes&) = delete;

    FormulaPane& pane() { return *pane_; }

private:
    common::AppContext& context_;
    FormulaPane* pane_ = nullptr;
};

} // namespace velora::formulas
