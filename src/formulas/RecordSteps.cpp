#include "RecordSteps.h"

#include "RecordsEnvironment.h"
#include "catalogue/QuoteSql.h"
#include "catalogue/SqlNumber.h"
#include "common/Messages.h"
#include "db/Connection.h"
#include "groups/PartitionNamePrompter.h"
#include "groups/PromptForValue.h"

#include <QComboBox>

namespace velora::formulas {

namespace {

const QString kNotPermitted =
    QStringLiteral("Only a supervisor can create, rename or delete formulas and groups. Nothing "
                   "has been changed.");

} // namespace

RecordSteps::RecordSteps(const RecordsEnvironment& environment)
    : env_(environment) {}

bool RecordSteps::permitted() const {
    if (env_.fullMode && env_.fullMode())
        return true;
    env_.messages.inform(kNotPermitted, common::MessageIcon::Critical);
    return false;
}

bool RecordSteps::validId(const QString& id, const RecordTable& table) const {
    if (catalogue::IsSqlNumber(id))
        return true;
    env_.messages.inform(QStringLiteral("The %1 ID \"%2\" is not a number. Nothing has been "
                                        "changed.")
                             .arg(table.kind, id),
                         common::MessageIcon::Critical);
    return false;
}

bool RecordSteps::isDefaultId(const QString& id) {
    return catalogue::IsSqlNumber(id) && id.toLongLong() == 1;
}

NameChoice RecordSteps::askNewName(const QString& title, const QString& prompt,
                                   const QString& partitionCaption,
                                   const QString& partitionPrompt) const {
    if (!env_.partitionMode) {
        const groups::PromptResult answer =
            env_.prompter.PromptForValue(prompt, title, QString(), false);
        return {answer.confirmed() ? answer.text : QString(), 0};
    }
    const groups::PartitionNameResult answer = env_.partitionPrompter.PromptForName(
        partitionCaption, partitionPrompt, QString(), env_.accessiblePartitions,
        static_cast<qint16>(env_.loginPartition ? env_.loginPartition() : 0));
    return {answer.confirmed() ? answer.text : QString(), answer.partitionID};
}

RecordSteps::RenameOutcome RecordSteps::rename(const RecordTable& table, const QString& id,
                                               const QString& name) const {
    const QString number = catalogue::SqlNumber(id);
    const QString quoted = catalogue::QuoteSql(name);
    QString taken = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = '%4' AND %1 <> %5")
                        .arg(table.idColumn, table.table, table.nameColumn, quoted, number);
    if (env_.partitionMode)
        taken += QStringLiteral(" AND partition_id = (SELECT partition_id FROM %1 WHERE %2 = %3)")
                     .arg(table.table, table.idColumn, number);
    env_.connection.ensureOpen();
    if (!env_.connection.openRecordset(taken).eof())
        return RenameOutcome::NameTaken;
    const int renamed = env_.connection.execute(
        QStringLiteral("UPDATE %1 SET %2 = '%3' WHERE %4 = %5")
            .arg(table.table, table.nameColumn, quoted, table.idColumn, number));
    return renamed > 0 ? RenameOutcome::Renamed : RenameOutcome::Gone;
}

RecordSteps::DeleteOutcome
RecordSteps::deleteRow(const QString& id, const QString& inUseQuery,
                       const std::function<QString(const db::Recordset&)>& describe,
                       const QStringList& deletes, QStringList& holders) const {
    env_.connection.ensureOpen();
    // The check and the delete see the same rows: no other workstation can start using the
    // item in between.
    db::Transaction transaction(env_.connection);
    for (db::Recordset rows = env_.connection.openRecordset(inUseQuery); !rows.eof();
         rows.moveNext())
        holders << describe(rows);
    if (!holders.isEmpty())
        return DeleteOutcome::InUse;
    if (isDefaultId(id))
        return DeleteOutcome::Default;
    int removed = 0;
    for (qsizetype i = 0; i < deletes.size(); ++i) {
        const int affected = env_.connection.execute(deletes[i]);
        if (i == 0)
            removed = affected;
    }
    transaction.commit();
    return removed > 0 ? DeleteOutcome::Deleted : DeleteOutcome::Gone;
}

bool RecordSteps::reportDelete(DeleteOutcome outcome, const RecordTable& table, const QString& name,
                               const QString& inUseMessage, const QString& defaultMessage) const {
    switch (outcome) {
    case DeleteOutcome::InUse:
        env_.messages.inform(inUseMessage, common::MessageIcon::Critical);
        return false;
    case DeleteOutcome::Default:
        env_.messages.inform(defaultMessage, common::MessageIcon::Critical);
        return false;
    case DeleteOutcome::Gone:
        reportGone(table, name, false);
        return true;
    case DeleteOutcome::Deleted:
        break;
    }
    return true;
}

void RecordSteps::reportGone(const RecordTable& table, const QString& name, bool renaming) const {
    const QString what = QStringLiteral("The ") + table.kind + QLatin1Char(' ') + name;
    const QString gone = renaming ? what + QStringLiteral(" could not be renamed because it no "
                                                          "longer exists in the database")
                                  : what + QStringLiteral(" no longer exists in the database");
    env_.messages.inform(gone + QStringLiteral("; it may have been deleted from another "
                                               "workstation. It has been removed from the list."),
                         common::MessageIcon::Critical);
}

void RecordSteps::closeConnection() const {
    if (env_.connection.isOpen())
        env_.connection.close();
}

void RecordSteps::removeEntries(QComboBox* list, int id) {
    if (!list)
        return;
    for (int index = list->count() - 1; index >= 0; --index) {
        if (list->itemData(index).toInt() == id)
            list->removeItem(index);
    }
}

void RecordSteps::setEntryText(QComboBox* list, int id, const QString& text) {
    if (!list)
        return;
    for (int index = 0; index < list->count(); ++index) {
        if (list->itemData(index).toInt() == id)
            list->setItemText(index, text);
    }
}

} // namespace velora::formulas
