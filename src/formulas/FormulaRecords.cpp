#include "FormulaRecords.h"

#include "catalogue/Catalogue.h"
#include "catalogue/PartitionAccess.h"
#include "catalogue/SqlNumber.h"
#include "common/Messages.h"
#include "db/Connection.h"
#include "groups/PromptForValue.h"

#include <QComboBox>

namespace velora::formulas {

namespace {

using common::MessageIcon;

// Names of 50 characters or more do not fit the column.
constexpr int kLongestName = 49;

const QString kCreateTitle = QStringLiteral("Create New Formula");
const QString kNamePrompt = QStringLiteral("Enter new formula name:");
const QString kTooLong = QStringLiteral("The formula can only contain 50 characters. Please try "
                                        "creating a formula with a smaller formula name.");
const QString kExists = QStringLiteral(
    "The formula could not be added because a formula with that name already exists");
const QString kCreateFailed = QStringLiteral("Could not create formula.");
const QString kCreateFailedTitle = QStringLiteral("Incentive");
const QString kRenameDefault = QStringLiteral("You can not rename the default formula.");
const QString kRenameTitle = QStringLiteral("Rename Formula");
const QString kRenamePrompt = QStringLiteral("Enter the new formula name:");
const QString kNameTaken = QStringLiteral("The formula name you entered already exists. The "
                                          "current formula name will not be changed.");
const QString kRenameFailed = QStringLiteral("Error: cannot rename formula");
const QString kDeleteDefault = QStringLiteral("You can not delete the default formula.");
const QString kDeleteFailed = QStringLiteral("Error: cannot delete formula");

db::ProcedureParameter parameter(const char* name, db::ProcedureParameter::Type type,
                                 db::ProcedureParameter::Direction direction, int size,
                                 const QVariant& value) {
    return {QLatin1String(name), type, direction, size, value};
}

QString inUseStatement(const QString& formulaID) {
    const QString id = catalogue::SqlNumber(formulaID);
    return QStringLiteral("SELECT DISTINCT GROUP_NAME FROM Incentive_group grp, "
                          "Incentive_group_formula grpform WHERE grp.GROUP_ID = grpform.GROUP_ID "
                          "AND (grpform.typed_formula_id = %1 OR grpform.hours_worked_formula_id "
                          "= %1 OR grpform.pay_formula_id = %1) ORDER BY GROUP_NAME")
        .arg(id);
}

} // namespace

const QString FormulaRecords::kDefaultText =
    QStringLiteral("Results.IHours = 0\r\nResults.ILines = 0\r\nResults.IPay = 0");

FormulaRecords::FormulaRecords(RecordsEnvironment environment)
    : env_(std::move(environment))
    , steps_(env_) {}

db::ProcedureParameters FormulaRecords::addFormulaParameters(const QString& name,
                                                             bool partitionMode, int partitionID) {
    using Type = db::ProcedureParameter::Type;
    using Direction = db::ProcedureParameter::Direction;
    db::ProcedureParameters parameters;
    parameters.append(parameter("@formula_name", Type::VarChar, Direction::Input, 50, name));
    parameters.append(
        parameter("@formula_text", Type::VarChar, Direction::Input, 2147483647, kDefaultText));
    if (partitionMode)
        parameters.append(
            parameter("@partition_id", Type::Integer, Direction::Input, 0, partitionID));
    parameters.append(parameter("@formula_id", Type::Integer, Direction::Output, 0, QVariant()));
    return parameters;
}

// ---- Creating ----

void FormulaRecords::CreateFormula() {
    if (!steps_.permitted())
        return;
    try {
        createAsked();
    } catch (const std::exception&) {
        env_.messages.inform(kCreateFailed, MessageIcon::Critical, kCreateFailedTitle);
    }
    steps_.closeConnection();
}

int FormulaRecords::CreateFormulaNamed(const QString& name) {
    if (!steps_.permitted())
        return 0;
    int formulaID = 0;
    try {
        formulaID = createNamed(name);
    } catch (const std::exception&) {
        env_.messages.inform(kCreateFailed, MessageIcon::Critical, kCreateFailedTitle);
        formulaID = 0;
    }
    steps_.closeConnection();
    return formulaID;
}

int FormulaRecords::createNamed(const QString& name) {
    if (name.isEmpty())
        return 0;
    const NameChoice choice{name, env_.loginPartition()};
    if (name.size() > kLongestName) {
        env_.messages.inform(kTooLong, MessageIcon::Critical);
        return createAsked();
    }
    const int formulaID = add(choice);
    if (formulaID <= 0) {
        env_.messages.inform(existsMessage(choice.partitionID), MessageIcon::Critical);
        return createAsked();
    }
    showNew(formulaID, choice);
    return formulaID;
}

// A refused name (too long, taken) is asked for again until the operator gives up.
int FormulaRecords::createAsked() {
    for (;;) {
        const NameChoice choice =
            steps_.askNewName(kCreateTitle, kNamePrompt, kCreateTitle, kNamePrompt);
        if (choice.name.isEmpty())
            return 0;
        if (choice.name.size() > kLongestName) {
            env_.messages.inform(kTooLong, MessageIcon::Critical);
            continue;
        }
        const int formulaID = add(choice);
        if (formulaID <= 0) {
            env_.messages.inform(existsMessage(choice.partitionID), MessageIcon::Critical);
            continue;
        }
        showNew(formulaID, choice);
        return formulaID;
    }
}

int FormulaRecords::add(const NameChoice& choice) {
    env_.connection.ensureOpen();
    db::ProcedureParameters parameters =
        addFormulaParameters(choice.name, env_.partitionMode, choice.partitionID);
    env_.connection.callProcedure(QStringLiteral("usp_incentive_add_formula"), parameters);
    return parameters.last().value.toInt();
}

// Names need only be unique within a partition: in partition mode the message says which one.
QString FormulaRecords::existsMessage(int partitionID) const {
    const auto partition = catalogue::GetObjectFromCollection(env_.catalogue.partitions(),
                                                              QString::number(partitionID));
    if (!env_.partitionMode || !partition)
        return kExists + QLatin1Char('.');
    return kExists + QStringLiteral(" in the partition ") + partition->PartitionName() +
           QLatin1Char('.');
}

void FormulaRecords::showNew(int formulaID, const NameChoice& choice) {
    const QString key = QString::number(formulaID);
    // An id can come back after its row was deleted elsewhere: nothing may still show the old row.
    forget(formulaID, true);
    if (!env_.partitionMode) {
        if (env_.explorer.addFormula)
            env_.explorer.addFormula(choice.name, key);
        if (env_.explorer.clickFormulaNode)
            env_.explorer.clickFormulaNode(key);
        if (env_.cmbAccountPayFormula)
            env_.cmbAccountPayFormula->addItem(choice.name, formulaID);
        return;
    }
    // A formula made in a partition the operator cannot see is not shown.
    const auto partition = catalogue::GetObjectFromCollection(env_.accessiblePartitions,
                                                              QString::number(choice.partitionID));
    if (!partition)
        return;
    auto formula = std::make_shared<catalogue::Formula>();
    formula->setFormulaID(formulaID);
    formula->setFormulaName(choice.name);
    formula->setFormulaText(kDefaultText);
    formula->setPartitionID(choice.partitionID);
    const QString label = catalogue::PartitionQualifiedName(choice.name, partition->PartitionName(),
                                                            env_.partitionDisplay());
    if (env_.explorer.addFormula)
        env_.explorer.addFormula(label, key);
    env_.catalogue.formulas().add(key, formula);
    if (env_.cmbAccountPayFormula)
        env_.cmbAccountPayFormula->addItem(label, formulaID);
    if (env_.explorer.clickFormulaNode)
        env_.explorer.clickFormulaNode(key);
}

// ---- Renaming ----

void FormulaRecords::RenameFormula(const QString& formulaID, const QString& oldName,
                                   QString& newName, qint16& cancel, QString& /*tag*/) {
    cancel = 1; // until the new name is stored
    if (!steps_.permitted() || !steps_.validId(formulaID, kTable))
        return;
    if (RecordSteps::isDefaultId(formulaID)) {
        env_.messages.inform(kRenameDefault, MessageIcon::Critical);
        return;
    }
    const groups::PromptResult answer =
        env_.prompter.PromptForValue(kRenamePrompt, kRenameTitle, QString(), false);
    // The name is stored as typed; blanks alone are no name.
    const QString name = answer.confirmed() ? answer.text : QString();
    if (name.trimmed().isEmpty())
        return;
    try {
        renameAsked(formulaID, oldName, name, newName, cancel);
    } catch (const std::exception&) {
        env_.messages.inform(kRenameFailed, MessageIcon::Critical);
    }
    steps_.closeConnection();
}

void FormulaRecords::renameAsked(const QString& formulaID, const QString& oldName,
                                 const QString& name, QString& newName, qint16& cancel) {
    const int id = formulaID.toInt();
    switch (steps_.rename(kTable, formulaID, name)) {
    case RecordSteps::RenameOutcome::NameTaken:
        env_.messages.inform(kNameTaken, MessageIcon::Critical);
        return;
    case RecordSteps::RenameOutcome::Gone:
        forget(id, true);
        steps_.reportGone(kTable, oldName, true);
        return;
    case RecordSteps::RenameOutcome::Renamed:
        newName = renamedText(id, name);
        RecordSteps::setEntryText(env_.cmbAccountPayFormula, id, newName);
        cancel = 0;
        return;
    }
}

// The node's new text: in partition mode the name labelled with the formula's partition.
QString FormulaRecords::renamedText(int formulaID, const QString& name) const {
    const auto formula =
        catalogue::GetObjectFromCollection(env_.catalogue.formulas(), QString::number(formulaID));
    if (!formula)
        return name;
    formula->setFormulaName(name);
    if (!env_.partitionMode)
        return name;
    const auto partition = catalogue::GetObjectFromCollection(
        env_.catalogue.partitions(), QString::number(formula->PartitionID()));
    return catalogue::FormulaDisplayName(
        *formula, partition ? partition->PartitionName() : QString(), env_.partitionDisplay());
}

// ---- Deleting ----

void FormulaRecords::DeleteFormula(const QString& formulaName, const QString& formulaID,
                                   qint16& cancel) {
    cancel = 1; // until the row is gone
    if (!steps_.permitted() || !steps_.validId(formulaID, kTable))
        return;
    if (!env_.messages.ask(QStringLiteral("Are you sure you wish to delete the ") + formulaName +
                           QStringLiteral(" formula?")))
        return;
    try {
        deleteConfirmed(formulaName, formulaID, cancel);
    } catch (const std::exception&) {
        env_.messages.inform(kDeleteFailed, MessageIcon::Critical);
    }
    steps_.closeConnection();
}

void FormulaRecords::deleteConfirmed(const QString& formulaName, const QString& formulaID,
                                     qint16& cancel) {
    QStringList groups;
    const auto outcome = steps_.deleteRow(
        formulaID, inUseStatement(formulaID),
        [](const db::Recordset& row) { return row.text(QStringLiteral("GROUP_NAME")); },
        {QStringLiteral("DELETE FROM Incentive_formula WHERE FORMULA_ID = ") +
         catalogue::SqlNumber(formulaID)},
        groups);
    const QString inUse =
        QStringLiteral("You are not able to delete the formula ") + formulaName +
        QStringLiteral(" because it is being used by the following groups: ") +
        groups.join(QStringLiteral(", ")) +
        QStringLiteral(". Please remove the formula from those groups, and then try "
                       "deleting this formula again.");
    if (!steps_.reportDelete(outcome, kTable, formulaName, inUse, kDeleteDefault))
        return;
    // The explorer removes the node itself when the flag stays clear.
    forget(formulaID.toInt(), false);
    cancel = 0;
}

void FormulaRecords::forget(int formulaID, bool node) {
    const QString key = QString::number(formulaID);
    RecordSteps::removeEntries(env_.cmbAccountPayFormula, formulaID);
    if (env_.catalogue.formulas().contains(key))
        env_.catalogue.formulas().remove(key);
    if (node && env_.explorer.removeFormulaNode)
        env_.explorer.removeFormulaNode(key);
}

} // namespace velora::formulas
