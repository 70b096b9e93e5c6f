#include "FormulaEditing.h"

#include "FormulaPane.h"
#include "FormulaTextEdit.h"
#include "NumberedError.h"
#include "catalogue/Catalogue.h"
#include "catalogue/QuoteSql.h"
#include "catalogue/SqlNumber.h"
#include "common/Messages.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "engine/CompiledFormula.h"
#include "engine/FormulaEvaluator.h"
#include "groups/EffectiveDateProcedure.h"
#include "suite/HXRegion.h"

#include <QLabel>
#include <QPushButton>

namespace velora::formulas {

namespace {

// The formula every assignment falls back to; it can be neither renamed nor deleted.
constexpr int kDefaultFormulaID = 1;

const QString kDateTitle = QStringLiteral("Effective Date for Change");
const QString kNotChanged = QStringLiteral("The formula has not been changed.");
const QString kSavedNote =
    QStringLiteral("PLEASE NOTE:  The formula has been successfully saved.  To utilize this "
                   "formula you will need\r\nto create a new group or edit an existing group's "
                   "settings.");
const QString kSaveFailed = QStringLiteral("Error: cannot save formula data");
const QString kGone = QStringLiteral(
    "The formula no longer exists; it may have been deleted on another workstation. Nothing has "
    "been saved.");

QString number(int value) {
    return QString::number(value);
}

// Formulas are stored with CR LF line ends, as the procedures that make them write them; the
// editor works with LF. A stored text that differs from the editor's only in its line ends is
// unchanged.
QString withCrLf(const QString& editorText) {
    QString text = editorText;
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QString withLf(const QString& storedText) {
    QString text = storedText;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString datePrompt(const QString& formulaName) {
    return QStringLiteral("If you wish to change the ") + formulaName +
           QStringLiteral(" you must enter the effective date this change will take effect in "
                          "the following box:");
}

QString parseErrorMessage(const engine::FormulaEvaluator& evaluator) {
    return QStringLiteral("An error occurred parsing your formula. The formula will not be "
                          "saved.\r\rDescription:") +
           evaluator.ErrorDescription() + QStringLiteral("\rLine Number:") +
           number(evaluator.ErrorLine());
}

QString conflictMessage(const QString& groups) {
    return QStringLiteral(
               "The formula can not contain any of the Incentive Formulas unless it is solely "
               "used for the Pay Formula. The following groups are currently using this formula "
               "for formulas other than the Incentive Pay Formula (Either the Incentive Lines "
               "Typed or the Incentive Hours Worked Formulas): ") +
           groups;
}

// The users whose group names the formula for any of the three results, for any account. The
// users are found once and their rows through the index: the same rows as a subquery per row,
// at a fraction of its cost on a large table.
QString namedByGroup(int formulaID) {
    const QString id = number(formulaID);
    return QStringLiteral("trans_incentive.trans_id IN (SELECT trans_info.trans_id FROM "
                          "Incentive_group_formula, trans_info WHERE "
                          "Incentive_group_formula.group_id = trans_info.incentive_group_id AND "
                          "(Incentive_group_formula.typed_formula_id = ") +
           id + QStringLiteral(" OR Incentive_group_formula.hours_worked_formula_id = ") + id +
           QStringLiteral(" OR Incentive_group_formula.pay_formula_id = ") + id +
           QStringLiteral("))");
}

// The users of groups whose assignment rows (of the given account, or any) satisfy `condition`.
QString usersOfGroupsWhere(const QString& condition) {
    return QStringLiteral("(SELECT trans_info.trans_id FROM Incentive_group_formula, trans_info "
                          "WHERE Incentive_group_formula.group_id = "
                          "trans_info.incentive_group_id AND ") +
           condition + QLatin1Char(')');
}

// The default formula also computes every row whose assignment leaves the pay formula empty and
// every row of a group without a default-account row to fall back to (in partition mode also
// without an external-accounts row): its lock-out covers them.
QString usesDefaultFormula(bool partitionMode) {
    const QString user = QStringLiteral("trans_incentive.trans_id");
    QString rows =
        QLatin1Char('(') + user + QStringLiteral(" IN ") +
        usersOfGroupsWhere(QStringLiteral("(Incentive_group_formula.typed_formula_id = 1 OR "
                                          "Incentive_group_formula.hours_worked_formula_id = 1 OR "
                                          "Incentive_group_formula.pay_formula_id = 1 OR "
                                          "Incentive_group_formula.pay_formula_id IS NULL)")) +
        QStringLiteral(" OR ") + user + QStringLiteral(" NOT IN ") +
        usersOfGroupsWhere(QStringLiteral("Incentive_group_formula.account_id = -1"));
    if (partitionMode)
        rows += QStringLiteral(" OR ") + user + QStringLiteral(" NOT IN ") +
                usersOfGroupsWhere(QStringLiteral("Incentive_group_formula.account_id = -3"));
    return rows + QLatin1Char(')');
}

} // namespace

FormulaEditing::FormulaEditing(FormulaEditingEnvironment environment, FormulaPane& pane)
    : env_(std::move(environment))
    , pane_(pane) {}

void FormulaEditing::bindButtons() {
    QObject::connect(pane_.cmdFormulaSaveChanges(), &QPushButton::clicked, &pane_,
                     [this] { saveChanges(); });
    QObject::connect(pane_.cmdFormulaRevertChanges(), &QPushButton::clicked, &pane_,
                     [this] { revertChanges(); });
}

QString FormulaEditing::loadStatement(int formulaID) {
    return QStringLiteral("SELECT formula_text, incentive_effective_date FROM Incentive_formula "
                          "WHERE FORMULA_ID = ") +
           number(formulaID);
}

QString FormulaEditing::latestLockedStatement(int formulaID, const QString& date,
                                              bool partitionMode) {
    const QString after = QStringLiteral(" AND locked = 1 AND shift_date > '") +
                          catalogue::QuoteSql(date) + QLatin1Char('\'');
    if (formulaID == kDefaultFormulaID)
        return QStringLiteral("SELECT MAX(shift_date) FROM trans_incentive WHERE ") +
               usesDefaultFormula(partitionMode) + after;
    const QString id = number(formulaID);
    return QStringLiteral("SELECT MAX(shift_date) FROM trans_incentive, Incentive_group_formula, "
                          "trans_info WHERE Incentive_group_formula.group_id = "
                          "trans_info.incentive_group_id AND trans_info.trans_id = "
                          "trans_incentive.trans_id AND (Incentive_group_formula.typed_formula_id "
                          "= ") +
           id + QStringLiteral(" OR Incentive_group_formula.hours_worked_formula_id = ") + id +
           QStringLiteral(" OR Incentive_group_formula.pay_formula_id = ") + id + QLatin1Char(')') +
           after;
}

QString FormulaEditing::typedOrHoursGroupsStatement(int formulaID) {
    const QString id = number(formulaID);
    return QStringLiteral("SELECT DISTINCT grp.group_name FROM Incentive_group grp, "
                          "Incentive_group_formula grpfrm WHERE grp.group_id = grpfrm.group_id "
                          "AND (grpfrm.typed_formula_id = ") +
           id + QStringLiteral(" OR grpfrm.hours_worked_formula_id = ") + id + QLatin1Char(')');
}

// Rows already locked are left alone: rewriting them changes nothing but costs a write per row.
QString FormulaEditing::lockStatement(int formulaID, const QString& date, bool partitionMode) {
    const QString users = formulaID == kDefaultFormulaID ? usesDefaultFormula(partitionMode)
                                                         : namedByGroup(formulaID);
    return QStringLiteral("UPDATE trans_incentive SET locked = 1 Where ") + users +
           QStringLiteral(" AND trans_incentive.shift_date < '") + catalogue::QuoteSql(date) +
           QStringLiteral("' AND trans_incentive.locked = 0");
}

QString FormulaEditing::writeStatement(int formulaID, const QString& text) {
    return QStringLiteral("UPDATE Incentive_formula SET FORMULA_TEXT = '") +
           catalogue::QuoteSql(text) + QStringLiteral("' WHERE FORMULA_ID = ") + number(formulaID);
}

void FormulaEditing::LoadFormula(const QString& formulaID, const QString& formulaName) {
    env_.beginBusy();
    try {
        load(formulaID, formulaName);
    } catch (const std::exception& e) {
        // Nothing half-loaded may be saved on leaving the node.
        current_.reset();
        const auto* numbered = dynamic_cast<const NumberedError*>(&e);
        env_.messages.inform(
            QStringLiteral("An Error Occurred Attempting To Load The Nodes Of The Zarererov "
                           "Avudezez. Please Contact The Vendor For More Information.\r\n\r\n"
                           "Error ") +
                number(numbered ? numbered->number() : 0) + QLatin1Char(':') +
                (numbered ? numbered->description() : QString::fromUtf8(e.what())),
            common::MessageIcon::Critical);
    }
    env_.endBusy();
}

void FormulaEditing::load(const QString& formulaID, const QString& formulaName) {
    env_.connection.ensureOpen();
    const int id = catalogue::SqlNumber(formulaID).toInt();
    QString text;
    {
        db::Recordset row = env_.connection.openRecordset(loadStatement(id));
        if (!row.eof()) {
            text = row.text(QStringLiteral("formula_text"));
            pane_.lblFormulaEffectiveDate()->setText(
                env_.region.formatDate(row.date(QStringLiteral("incentive_effective_date"))));
        } else {
            pane_.lblFormulaEffectiveDate()->clear();
        }
    }
    pane_.txtFormulaText()->setPlainText(text);
    pane_.lblFormulaFormulaName()->setText(formulaName);
    setCurrent(id, formulaName, text);
    env_.showPane();
}

// In partition mode the catalogue's own entity, so a save shows wherever the formula is listed;
// otherwise the window's entity, refilled here.
void FormulaEditing::setCurrent(int formulaID, const QString& formulaName, const QString& text) {
    if (env_.partitionMode) {
        current_ = catalogue::GetObjectFromCollection(env_.catalogue.formulas(), number(formulaID));
        return;
    }
    if (!own_)
        own_ = std::make_shared<catalogue::Formula>();
    own_->setFormulaID(formulaID);
    own_->setFormulaText(text);
    own_->setFormulaName(formulaName);
    current_ = own_;
}

bool FormulaEditing::shows(const QString& formulaID) const {
    return current_ && number(current_->FormulaID()) == formulaID;
}

// Outside partition mode the node's text is the name; in partition mode the rename has set the
// catalogue entity's name already.
void FormulaEditing::renamed(const QString& formulaID, const QString& nodeText) {
    if (!shows(formulaID))
        return;
    if (!env_.partitionMode)
        current_->setFormulaName(nodeText);
    pane_.lblFormulaFormulaName()->setText(nodeText);
}

void FormulaEditing::forget(const QString& formulaID) {
    if (shows(formulaID))
        current_.reset();
}

bool FormulaEditing::FormulaChanged() {
    return current_ && current_->FormulaID() >= 1 &&
           withLf(current_->FormulaText()) != pane_.txtFormulaText()->toPlainText();
}

FormulaSaveResult FormulaEditing::SaveFormula(bool& note) {
    FormulaSaveResult result = FormulaSaveResult::Failed;
    try {
        result = save(note);
    } catch (const std::exception&) {
        env_.messages.inform(kSaveFailed, common::MessageIcon::Critical);
        note = false;
    }
    if (result == FormulaSaveResult::Cancelled)
        return result; // the connection stays as the prompt left it
    closeConnection();
    if (note)
        env_.messages.inform(kSavedNote);
    return result;
}

FormulaSaveResult FormulaEditing::save(bool& note) {
    env_.connection.ensureOpen();
    engine::FormulaEvaluator* evaluator = env_.evaluator();
    if (evaluator)
        evaluator->Reset();
    // The mode is checked here too: a pane hidden from an operator is no permission.
    if (!env_.fullMode() || !FormulaChanged())
        return FormulaSaveResult::Unchanged;
    const int id = current_->FormulaID();
    const QString text = withCrLf(pane_.txtFormulaText()->toPlainText());
    const QString asked = env_.effectiveDate.AskForDate(
        kDateTitle, datePrompt(current_->FormulaName()), groups::EffectiveDateVariant::Formula);
    if (asked.isEmpty()) {
        note = false;
        return FormulaSaveResult::Cancelled;
    }
    const QString date = env_.effectiveDate.EarliestRevertDate(
        env_.connection, asked, latestLockedStatement(id, asked, env_.partitionMode));
    if (date.isEmpty()) {
        env_.messages.inform(kNotChanged);
        return refuse(note);
    }
    if (!parses(text) || readsIncentiveFunctionsWrongly(text))
        return refuse(note);

    // The lock-out and the text go together: a text stored without its lock-out would recompute
    // days that must keep the old pay.
    db::Transaction transaction(env_.connection);
    env_.connection.execute(lockStatement(id, date, env_.partitionMode));
    if (env_.connection.execute(writeStatement(id, text)) == 0) {
        env_.messages.inform(kGone, common::MessageIcon::Critical);
        return refuse(note); // the transaction rolls the lock-out back
    }
    transaction.commit();
    current_->setFormulaText(text);
    return FormulaSaveResult::Saved;
}

FormulaSaveResult FormulaEditing::refuse(bool& note) {
    note = false;
    return FormulaSaveResult::Refused;
}

bool FormulaEditing::parses(const QString& text) {
    engine::FormulaEvaluator* evaluator = env_.evaluator();
    if (!evaluator)
        throw db::DbError(db::ErrorNumber::General,
                          QStringLiteral("The formula evaluator is not available."));
    if (env_.passTesterInputs)
        env_.passTesterInputs();
    evaluator->Evaluate(text);
    if (evaluator->ErrorNumber() == 0)
        return true;
    env_.messages.inform(parseErrorMessage(*evaluator), common::MessageIcon::Critical);
    pane_.txtFormulaText()->markErrorLine(evaluator->ErrorLine());
    return false;
}

// A formula that a group uses for its lines typed or hours worked may not read the incentive
// functions, which are those very results. Names ignore letter case in the language, so the
// compiled formula is asked as well as the text searched.
bool FormulaEditing::readsIncentiveFunctionsWrongly(const QString& text) {
    engine::FormulaError error;
    const auto compiled = engine::CompiledFormula::compile(text, error);
    const bool reads = text.contains(QStringLiteral("ITypedLines")) ||
                       text.contains(QStringLiteral("IHoursWorked")) ||
                       (compiled && compiled->usesIncentiveFunctions());
    if (!reads)
        return false;
    QStringList names;
    for (db::Recordset rows =
             env_.connection.openRecordset(typedOrHoursGroupsStatement(current_->FormulaID()));
         !rows.eof(); rows.moveNext())
        names.append(rows.text(QStringLiteral("group_name")));
    if (names.isEmpty())
        return false;
    env_.messages.inform(conflictMessage(names.join(QStringLiteral(", "))),
                         common::MessageIcon::Critical);
    return true;
}

// After a save or a cancelled one the editor shows the stored text; a refused or failed save
// keeps the edit on screen (with its error line marked) so that nothing typed is lost.
void FormulaEditing::saveChanges() {
    bool note = false;
    const FormulaSaveResult result = SaveFormula(note);
    if (result == FormulaSaveResult::Refused || result == FormulaSaveResult::Failed)
        return;
    revertChanges();
}

void FormulaEditing::showText(const QString& text) {
    pane_.txtFormulaText()->setPlainText(withLf(text));
}

void FormulaEditing::revertChanges() {
    if (FormulaChanged())
        pane_.txtFormulaText()->setPlainText(current_->FormulaText());
}

void FormulaEditing::closeConnection() {
    if (env_.connection.isOpen())
        env_.connection.close();
}

} // namespace velora::formulas
