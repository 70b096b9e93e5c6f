#pragma once

#include "catalogue/Catalogue.h"
#include "common/ScriptedMessages.h"
#include "common/TestDatabase.h"
#include "engine/FormulaEvaluator.h"
#include "formulas/FormulaPane.h"
#include "formulas/FormulaTester.h"
#include "formulas/FormulaTextEdit.h"
#include "suite/HXRegion.h"

#include <QComboBox>
#include <QLineEdit>

namespace velora::test {

// A database and a hand-made catalogue holding the same partitions, accounts and users, with
// the formula pane, the evaluator and the tester wired as the main window wires them.
class TesterFixture {
public:
    explicit TesterFixture(bool partitions,
                           QLocale locale = QLocale(QLocale::English, QLocale::UnitedStates))
        : partitionMode(partitions)
        , region(locale) {}

    void addPartition(int id, const QString& name) {
        exec(QStringLiteral("INSERT INTO System_partitions (partition_id, partition_name) "
                            "VALUES (%1, '%2')")
                 .arg(QString::number(id), name));
        auto partition = std::make_shared<catalogue::Partition>();
        partition->setPartitionID(id);
        partition->setPartitionName(name);
        catalogue.partitions().add(QString::number(id), partition);
    }

    void addAccount(int id, const QString& name, int partition) {
        exec(QStringLiteral("INSERT INTO Account_info (hosp_acct_id, hosp_acct_name, "
                            "partition_id) VALUES (%1, '%2', %3)")
                 .arg(QString::number(id), name, QString::number(partition)));
        auto account = std::make_shared<catalogue::Account>();
        account->setAccountID(id);
        account->setAccountName(name);
        account->setPartitionID(partition);
        catalogue.accounts().add(QString::number(id), account);
    }

    // A transcriptionist in group 1; the catalogue keys a deleted one with " DEL".
    void addUser(const QString& transID, int partition, bool deleted = false) {
        exec(QStringLiteral("INSERT INTO Trans_info (trans_id, extra3, incentive_group_id, "
                            "is_deleted) VALUES ('%1', %2, 1, %3)")
                 .arg(transID, QString::number(partition), QString::number(deleted ? 1 : 0)));
        auto user = std::make_shared<catalogue::User>();
        user->setTransID(catalogue::UserKey(transID, deleted));
        user->setIsDeleted(deleted);
        user->setPartitionID(partition);
        catalogue.users().add(user->TransID(), user);
    }

    // One day on an account: reports, lines and system hours (Hours in the default mode).
    void addDay(const QString& transID, int account, const QString& day, double reports,
                double lines, double hours) {
        exec(QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, "
                            "number_rpts_modified, lines_modified, hours_system_modified) "
                            "VALUES ('%1', %2, '%3', %4, %5, %6)")
                 .arg(transID, QString::number(account), day, QString::number(reports),
                      QString::number(lines), QString::number(hours)));
    }

    void exec(const QString& statement) {
        db.connection().ensureOpen();
        db.exec(statement);
    }

    // Types the day, picks the user and the account by their texts (none for ""), sets the
    // formula.
    void pick(const QString& day, const QString& user, const QString& account,
              const QString& formula) {
        pane.txtFormulaShiftDate()->setText(day);
        pane.cmbFormulaTransID()->setCurrentIndex(pane.cmbFormulaTransID()->findText(user));
        pane.cmbFormulaAccountID()->setCurrentIndex(pane.cmbFormulaAccountID()->findText(account));
        pane.txtFormulaText()->setPlainText(formula);
    }

    QString lastMessage() const {
        return messages.shown.isEmpty() ? QString() : messages.shown.last().text;
    }

    TestDatabase db;
    bool partitionMode;
    suite::HXRegion region;
    ScriptedMessages messages;
    catalogue::Catalogue catalogue;
    int partitionDisplay = 0;
    int formulaPartition = 1;
    std::unique_ptr<engine::FormulaEvaluator> evaluator =
        std::make_unique<engine::FormulaEvaluator>(db.connection());
    formulas::FormulaPane pane;
    formulas::FormulaTester tester{
        {db.connection(), messages, catalogue, partitionMode, [this] { return partitionDisplay; },
         region, [this] { return evaluator.get(); }, [this] { return formulaPartition; }},
        pane};
};

} // namespace velora::test
