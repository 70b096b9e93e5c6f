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
// the formula pane, the evaluator and the tester wired as the main window wires them. The
// current formula lies in partition `formulaPartition`.
class TesterFixture {
public:
    explicit TesterFixture(bool partitions,
                           const QLocale& locale = QLocale(QLocale::English, QLocale::UnitedStates))
        : partitionMode(partitions)
        , region(locale) {}

    void addPartition(int id, const QString& name) {
        exec(QStringLiteral("INSERT INTO System_partitions (partition_id, partition_name) "
                            "VALUES (%1, '%2')")
                 .arg(id)
                 .arg(name));
        auto partition = std::make_shared<catalogue::Partition>();
        partition->setPartitionID(id);
        partition->setPartitionName(name);
        catalogue.partitions().add(QString::number(id), partition);
    }

    void addAccount(int id, const QString& name, int partition, bool deleted = false) {
        exec(QStringLiteral("INSERT INTO Account_info (hosp_acct_id, hosp_acct_name, "
                            "partition_id, is_deleted) VALUES (%1, '%2', %3, %4)")
                 .arg(id)
                 .arg(name)
                 .arg(partition)
                 .arg(deleted ? 1 : 0));
        auto account = std::make_shared<catalogue::Account>();
        account->setAccountID(id);
        account->setAccountName(name);
        account->setPartitionID(partition);
        catalogue.accounts().add(QString::number(id), account);
    }

    // A transcriptionist (trans_type 1) unless another type is given.
    void addUser(const QString& transID, int partition, int group = 1, bool deleted = false,
                 int type = 1) {
        exec(QStringLiteral("INSERT INTO Trans_info (trans_id, extra3, incentive_group_id, "
                            "is_deleted, trans_type) VALUES ('%1', %2, %3, %4, %5)")
                 .arg(transID)
                 .arg(partition)
                 .arg(group)
                 .arg(deleted ? 1 : 0)
                 .arg(type));
        auto user = std::make_shared<catalogue::User>();
        user->setTransID(catalogue::UserKey(transID, deleted));
        user->setIsDeleted(deleted);
        user->setPartitionID(partition);
        user->setGroupID(group);
        catalogue.users().add(user->TransID(), user);
    }

    // One day of production: reports, lines and system hours (the default hour mode's Hours).
    void addDay(const QString& transID, int account, const QString& day, double reports,
                double lines, double hours) {
        exec(QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, "
                            "number_rpts_modified, lines_modified, hours_system_modified) "
                            "VALUES ('%1', %2, '%3', %4, %5, %6)")
                 .arg(transID)
                 .arg(account)
                 .arg(day)
                 .arg(reports)
                 .arg(lines)
                 .arg(hours));
    }

    void exec(const QString& statement) {
        db.connection().ensureOpen();
        db.exec(statement);
    }

    static QStringList texts(const QComboBox& list) {
        QStringList result;
        for (int i = 0; i < list.count(); ++i)
            result << list.itemText(i);
        return result;
    }

    // Picks the day, the user and the account by their texts and sets the formula text.
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
