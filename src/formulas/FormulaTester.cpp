#include "FormulaTester.h"

#include "FormulaPane.h"
#include "FormulaTextEdit.h"
#include "catalogue/Catalogue.h"
#include "catalogue/PartitionAccess.h"
#include "common/Messages.h"
#include "db/Connection.h"
#include "engine/FormulaEvaluator.h"
#include "suite/HXRegion.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <charconv>

namespace velora::formulas {

namespace {

const QString CrLf = QStringLiteral("\r\n");

} // namespace

FormulaTester::FormulaTester(FormulaTesterEnvironment environment, FormulaPane& pane)
    : env_(std::move(environment))
    , pane_(pane) {}

void FormulaTester::bindControls() {
    QObject::connect(pane_.cmdFormulaTestFormula(), &QPushButton::clicked, &pane_,
                     [this] { TestFormula(); });
    QObject::connect(&pane_, &FormulaPane::shiftDateLeft, &pane_, [this] { CheckShiftDate(); });
}

QString FormulaTester::userListStatement() {
    return QStringLiteral("SELECT trans_id ") +
           QStringLiteral("FROM trans_info WHERE trans_type = 1 and is_deleted = 0 ORDER BY "
                          "trans_id");
}

QString FormulaTester::accountListStatement() {
    return QStringLiteral("SELECT hosp_acct_name, hosp_acct_id FROM account_info WHERE "
                          "hosp_acct_id >= 0 AND is_deleted = 0 ORDER BY hosp_acct_name");
}

void FormulaTester::FillTesterUserList() {
    QComboBox& list = *pane_.cmbFormulaTransID();
    try {
        env_.connection.ensureOpen();
        list.clear();
        if (env_.partitionMode) {
            fillUsersFromCatalogue();
        } else {
            for (db::Recordset users = env_.connection.openRecordset(userListStatement());
                 !users.eof(); users.moveNext())
                list.addItem(users.text(QStringLiteral("trans_id")));
        }
        finishFill(list);
    } catch (const std::exception&) {
        closeConnection();
        env_.messages.inform(QStringLiteral("Error: cannot load user list"),
                             common::MessageIcon::Critical);
    }
}

void FormulaTester::FillTesterAccountList() {
    QComboBox& list = *pane_.cmbFormulaAccountID();
    try {
        env_.connection.ensureOpen();
        list.clear();
        if (env_.partitionMode) {
            fillAccountsFromCatalogue();
        } else {
            for (db::Recordset accounts = env_.connection.openRecordset(accountListStatement());
                 !accounts.eof(); accounts.moveNext())
                list.addItem(accounts.text(QStringLiteral("hosp_acct_name")),
                             accounts.value(QStringLiteral("hosp_acct_id")).toInt());
        }
        finishFill(list);
    } catch (const std::exception&) {
        closeConnection();
        env_.messages.inform(QStringLiteral("Error: cannot load account list"),
                             common::MessageIcon::Critical);
    }
}

// The catalogue's users of the formula's partition, in the catalogue's order.
void FormulaTester::fillUsersFromCatalogue() {
    const int partitionID = env_.formulaPartitionID();
    for (const auto& user : env_.catalogue.users()) {
        if (user->PartitionID() == partitionID)
            pane_.cmbFormulaTransID()->addItem(partitionLabelled(user->TransID(), partitionID));
    }
}

void FormulaTester::fillAccountsFromCatalogue() {
    const int partitionID = env_.formulaPartitionID();
    for (const auto& account : env_.catalogue.accounts()) {
        if (account->PartitionID() == partitionID)
            pane_.cmbFormulaAccountID()->addItem(
                partitionLabelled(account->AccountName(), partitionID), account->AccountID());
    }
}

QString FormulaTester::partitionLabelled(const QString& item, int partitionID) const {
    const auto partition = catalogue::GetObjectFromCollection(env_.catalogue.partitions(),
                                                              QString::number(partitionID));
    return catalogue::PartitionQualifiedName(
        item, partition ? partition->PartitionName() : QString(), env_.partitionDisplay());
}

void FormulaTester::finishFill(QComboBox& list) {
    closeConnection();
    list.setCurrentIndex(list.count() > 0 ? 0 : -1);
}

void FormulaTester::closeConnection() {
    if (env_.connection.isOpen())
        env_.connection.close();
}

bool FormulaTester::CheckShiftDate() {
    QLineEdit& field = *pane_.txtFormulaShiftDate();
    const QString text = field.text().trimmed();
    if (text.isEmpty()) {
        field.clear();
        return true;
    }
    const QDate day = env_.region.parseDate(text);
    if (!day.isValid()) {
        env_.messages.show(
            QStringLiteral("The Date you entered is invalid. Please re-enter the date."),
            common::Messages::kTitle, common::MessageIcon::None, common::MessageButtons::Ok);
        field.setFocus(Qt::OtherFocusReason);
        field.selectAll();
        return false;
    }
    field.setText(env_.region.formatDate(day));
    return true;
}

void FormulaTester::PassInputsToEvaluator() {
    engine::FormulaEvaluator* evaluator = env_.evaluator();
    if (!evaluator)
        return;
    const QString dateText = pane_.txtFormulaShiftDate()->text().trimmed();
    if (!dateText.isEmpty()) {
        const QDate day = env_.region.parseDate(dateText);
        if (day.isValid())
            evaluator->ShiftDate(day);
    }
    const QComboBox& accounts = *pane_.cmbFormulaAccountID();
    if (accounts.currentIndex() >= 0 && !accounts.currentText().isEmpty())
        evaluator->AccountID(accounts.currentData().toInt());
    const QComboBox& users = *pane_.cmbFormulaTransID();
    if (users.currentIndex() >= 0 && !users.currentText().isEmpty())
        evaluator->TransID(users.currentText());
}

void FormulaTester::TestFormula() {
    engine::FormulaEvaluator* evaluator = env_.evaluator();
    if (!evaluator)
        return;
    // The evaluator reads numbers the way formulas write them, with a decimal point.
    if (env_.region.DecimalSep() != QStringLiteral(".")) {
        env_.messages.inform(QStringLiteral(
            "Formula testing cannot be performed with the current regional settings."));
        return;
    }
    if (!CheckShiftDate())
        return;
    PassInputsToEvaluator();
    evaluator->Evaluate(pane_.txtFormulaText()->toPlainText());
    if (evaluator->ErrorNumber() != 0)
        showError(*evaluator);
    else
        showResults(*evaluator);
}

void FormulaTester::showError(engine::FormulaEvaluator& evaluator) {
    const int line = evaluator.ErrorLine();
    pane_.tblFormulaInputs()->setRowCount(0);
    pane_.txtFormulaText()->markErrorLine(line);
    env_.messages.show(
        QStringLiteral("The following error occurred evaluating your formula:") + CrLf + CrLf +
            QStringLiteral("Line Number: ") + QString::number(line) + CrLf +
            QStringLiteral("Error Description: ") + evaluator.ErrorDescription() + CrLf +
            QStringLiteral("Error Text: ") + evaluator.ErrorText(),
        common::Messages::kTitle, common::MessageIcon::None, common::MessageButtons::Ok);
    evaluator.Reset();
}

void FormulaTester::showResults(engine::FormulaEvaluator& evaluator) {
    pane_.txtFormulaText()->clearErrorMark();
    fillInputsTable(evaluator);
    env_.messages.inform(QStringLiteral("The formula evaluated to:") + CrLf +
                         QStringLiteral("   Hours = '") + singleText(evaluator.ResultHours()) +
                         QLatin1Char('\'') + CrLf + QStringLiteral("   Lines = '") +
                         singleText(evaluator.ResultLines()) + QLatin1Char('\'') + CrLf +
                         QStringLiteral("   Pay   = '") + singleText(evaluator.ResultPay()) +
                         QLatin1Char('\''));
}

// The inputs the formula read with their values for the day, then the three results.
void FormulaTester::fillInputsTable(const engine::FormulaEvaluator& evaluator) {
    QList<std::pair<QString, QString>> rows;
    for (const engine::FormulaInputReading& input : evaluator.InputsRead()) {
        QString value;
        switch (input.value.typeId()) {
        case QMetaType::QDate:
            value = env_.region.formatDate(input.value.toDate());
            break;
        case QMetaType::Bool:
            value = input.value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
            break;
        case QMetaType::Double:
            value = regionalNumber(input.value.toDouble());
            break;
        default:
            value = input.value.toString();
        }
        rows.append({input.name, value});
    }
    rows.append({QStringLiteral("Results.IHours"),
                 regionalNumber(singleText(evaluator.ResultHours()).toDouble())});
    rows.append({QStringLiteral("Results.ILines"),
                 regionalNumber(singleText(evaluator.ResultLines()).toDouble())});
    rows.append({QStringLiteral("Results.IPay"),
                 regionalNumber(singleText(evaluator.ResultPay()).toDouble())});
    QTableWidget& table = *pane_.tblFormulaInputs();
    table.setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        table.setItem(row, 0, new QTableWidgetItem(rows[row].first));
        auto* value = new QTableWidgetItem(rows[row].second);
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table.setItem(row, 1, value);
    }
}

QString FormulaTester::regionalNumber(double value) const {
    return env_.region.locale().toString(value, 'f', QLocale::FloatingPointShortest);
}

QString FormulaTester::singleText(float value) {
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return QString::fromLatin1(buffer, written.ptr - buffer);
}

} // namespace velora::formulas
