#pragma once

#include "RecordSteps.h"
#include "RecordsEnvironment.h"
#include "db/ProcedureParameter.h"

#include <QString>

namespace velora::formulas {

// Creates, renames and deletes incentive formulas for the explorer's events and the File menu,
// and keeps the explorer, the pay-formula list (cmbAccountPayFormula) and the catalogue in step
// with Incentive_formula. The default formula (ID 1) can be neither renamed nor deleted, nor can
// a formula that a group still uses. Only full mode may change anything.
//
// The handlers take the explorer's event arguments: ids as text, the cancel flag set (non-zero)
// whenever the explorer must leave its node as it is, a rename's new node text in newName.
class FormulaRecords {
public:
    explicit FormulaRecords(RecordsEnvironment environment);
    FormulaRecords(const FormulaRecords&) = delete;
    FormulaRecords& operator=(const FormulaRecords&) = delete;

    // Asks for a name (and a partition), asking again after a name that is too long or taken,
    // creates the formula with the default text and selects its node.
    void CreateFormula();
    // Creates a formula under a name chosen elsewhere (the formula wizard), in the operator's
    // own partition; a refused name is reported and a name is then asked for. Returns the new
    // id (its node selected), 0 when nothing was created.
    int CreateFormulaNamed(const QString& name);
    // The tag is the node's and is not used.
    void RenameFormula(const QString& formulaID, const QString& oldName, QString& newName,
                       qint16& cancel, QString& tag);
    void DeleteFormula(const QString& formulaName, const QString& formulaID, qint16& cancel);

    // The text of a new formula: all three results 0.
    static const QString kDefaultText;
    static inline const RecordTable kTable{
        QStringLiteral("formula"), QStringLiteral("Incentive_formula"),
        QStringLiteral("FORMULA_ID"), QStringLiteral("FORMULA_NAME")};

    // The parameters of "usp_incentive_add_formula"; the partition goes only in partition mode.
    static db::ProcedureParameters addFormulaParameters(const QString& name, bool partitionMode,
                                                        int partitionID);

private:
    int createAsked();
    int createNamed(const QString& name);
    int add(const NameChoice& choice);
    QString existsMessage(int partitionID) const;
    void showNew(int formulaID, const NameChoice& choice);
    QString renamedText(int formulaID, const QString& name) const;
    void renameAsked(const QString& formulaID, const QString& oldName, const QString& name,
                     QString& newName, qint16& cancel);
    void deleteConfirmed(const QString& formulaName, const QString& formulaID, qint16& cancel);
    // Takes the formula out of the list, the catalogue and (when asked) the explorer.
    void forget(int formulaID, bool node);

    RecordsEnvironment env_;
    RecordSteps steps_;
};

} // namespace velora::formulas
