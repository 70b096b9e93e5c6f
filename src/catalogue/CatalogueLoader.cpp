#include "CatalogueLoader.h"

#include "HXPartition.h"
#include "db/Connection.h"
#include "db/Recordset.h"

namespace velora::catalogue {

namespace {

QString partitionsStatement() {
    return QStringLiteral("SELECT DISTINCT partition_id, partition_name, partition_description ") +
           QStringLiteral("FROM System_partitions");
}

QString accountsStatement() {
    return QStringLiteral("SELECT DISTINCT ") +
           QStringLiteral("Account_info.hosp_acct_id, Account_info.hosp_acct_name, "
                          "Account_info.hosp_acct_description, Account_info.is_deleted, ") +
           QStringLiteral("Account_info.partition_id ") + QStringLiteral("FROM Account_info ") +
           QStringLiteral("WHERE (Account_info.hosp_acct_id > - 1) ");
}

QString usersStatement() {
    return QStringLiteral(
               "SELECT ti.trans_id, RTRIM(ti.last_name) + ', ' + RTRIM(ti.first_name) AS "
               "full_name, ") +
           QStringLiteral("ti.is_deleted, ti.extra3 AS partition_id, ig.group_id ") +
           QStringLiteral("FROM Trans_info AS ti LEFT OUTER JOIN ") +
           QStringLiteral("Incentive_group AS ig ON ti.incentive_group_id = ig.group_id ") +
           QStringLiteral("WHERE (ti.trans_type = 1) ") + QStringLiteral("ORDER BY ti.last_name");
}

QString formulasStatement() {
    return QStringLiteral("SELECT formula_id, formula_name, formula_text, partition_id ") +
           QStringLiteral("FROM Incentive_formula ") + QStringLiteral("ORDER BY formula_name");
}

QString groupsStatement() {
    return QStringLiteral("SELECT group_id, group_name, Incentive_group.partition_id, "
                          "Incentive_group.incentive_effective_date, Incentive_group.flag1 ") +
           QStringLiteral("FROM Incentive_group ") + QStringLiteral("ORDER BY group_name");
}

int intField(const db::Recordset& row, const QString& name) {
    return VariantToInt32(row.value(name));
}

// A NULL stands for "none" in the columns that allow it.
int intFieldOr(const db::Recordset& row, const QString& name, int whenNull) {
    return row.isNull(name) ? whenNull : intField(row, name);
}

// A NULL flag cannot be turned into a boolean and fails like any other NULL number.
bool boolField(const db::Recordset& row, const QString& name) {
    return intField(row, name) != 0;
}

// Texts that may be NULL (descriptions) read as empty.
QString trimmedText(const db::Recordset& row, const QString& name) {
    return row.text(name).trimmed();
}

QDate dateField(const db::Recordset& row, const QString& name) {
    if (row.isNull(name))
        throw CatalogueError(CatalogueErrorNumber::InvalidUseOfNull,
                             QStringLiteral("Invalid use of Null"));
    const QDate date = row.date(name);
    if (!date.isValid())
        throw CatalogueError(CatalogueErrorNumber::TypeMismatch,
                             QStringLiteral("Type mismatch: \"") + row.text(name) +
                                 QStringLiteral("\" is not a date"));
    return date;
}

// Reads every row of the statement into a collection, which is made large enough first.
template <typename T, typename ReadRow>
void readAll(db::Connection& connection, const QString& statement,
             CatalogueCollection<T>& collection, ReadRow readRow) {
    db::Recordset rows = connection.openRecordset(statement);
    collection.reserve(static_cast<std::size_t>(collection.count()) + rows.recordCount());
    for (; !rows.eof(); rows.moveNext())
        readRow(rows);
}

} // namespace

CatalogueLoader::CatalogueLoader(db::Connection& connection)
    : connection_(connection) {}

std::optional<Catalogue> CatalogueLoader::load() {
    Catalogue catalogue;
    if (!loadInto(catalogue))
        return std::nullopt;
    return catalogue;
}

bool CatalogueLoader::loadInto(Catalogue& catalogue) {
    connection_.ensureOpen();
    using Step = void (CatalogueLoader::*)(Catalogue&);
    const std::pair<QString, Step> steps[] = {
        {QStringLiteral("Loading Partitions..."), &CatalogueLoader::loadPartitions},
        {QStringLiteral("Loading Accounts..."), &CatalogueLoader::loadAccounts},
        {QStringLiteral("Loading Users..."), &CatalogueLoader::loadUsers},
        {QStringLiteral("Loading Formulas..."), &CatalogueLoader::loadFormulas},
        {QStringLiteral("Loading Groups..."), &CatalogueLoader::loadGroups},
    };
    for (const auto& [message, step] : steps) {
        if (!report(message))
            return false;
        (this->*step)(catalogue);
    }
    return true;
}

bool CatalogueLoader::report(const QString& message) const {
    return !progress_ || progress_(message);
}

void CatalogueLoader::loadPartitions(Catalogue& catalogue) {
    catalogue.partitions().clear();
    readAll(
        connection_, partitionsStatement(), catalogue.partitions(), [&](const db::Recordset& row) {
            auto partition = std::make_shared<Partition>();
            partition->setPartitionID(intField(row, QStringLiteral("partition_id")));
            partition->setPartitionName(trimmedText(row, QStringLiteral("partition_name")));
            partition->setPartitionDesc(trimmedText(row, QStringLiteral("partition_description")));
            catalogue.partitions().add(QString::number(partition->PartitionID()), partition);
        });
}

void CatalogueLoader::loadAccounts(Catalogue& catalogue) {
    catalogue.accounts().clear();
    readAll(connection_, accountsStatement(), catalogue.accounts(), [&](const db::Recordset& row) {
        auto account = std::make_shared<Account>();
        account->setAccountID(intField(row, QStringLiteral("hosp_acct_id")));
        account->setAccountName(trimmedText(row, QStringLiteral("hosp_acct_name")));
        account->setAccountDesc(trimmedText(row, QStringLiteral("hosp_acct_description")));
        account->setIsDeleted(boolField(row, QStringLiteral("is_deleted")));
        account->setPartitionID(intField(row, QStringLiteral("partition_id")));
        catalogue.accounts().add(QString::number(account->AccountID()), account);
    });
    catalogue.addSpecialAccounts();
}

void CatalogueLoader::loadUsers(Catalogue& catalogue) {
    catalogue.users().clear();
    readAll(connection_, usersStatement(), catalogue.users(),
            [&](const db::Recordset& row) { addUser(catalogue, row); });
}

void CatalogueLoader::addUser(Catalogue& catalogue, const db::Recordset& row) {
    const bool deleted = boolField(row, QStringLiteral("is_deleted"));
    if (deleted && !showDeletedUsers_)
        return;
    const QString transId = row.text(QStringLiteral("trans_id"));
    // Without a last and first name the concatenation is NULL or blank: the id stands in.
    QString name = trimmedText(row, QStringLiteral("full_name"));
    if (name.isEmpty())
        name = transId.trimmed();
    auto user = std::make_shared<User>();
    user->setIsDeleted(deleted);
    user->setPartitionID(intFieldOr(row, QStringLiteral("partition_id"), -1));
    user->setTransID(UserKey(transId, deleted));
    user->setTransName(name);
    user->setGroupID(intFieldOr(row, QStringLiteral("group_id"), -1));
    catalogue.users().add(user->TransID(), user);
}

void CatalogueLoader::loadFormulas(Catalogue& catalogue) {
    catalogue.formulas().clear();
    readAll(connection_, formulasStatement(), catalogue.formulas(), [&](const db::Recordset& row) {
        auto formula = std::make_shared<Formula>();
        formula->setFormulaID(intField(row, QStringLiteral("formula_id")));
        formula->setFormulaName(trimmedText(row, QStringLiteral("formula_name")));
        formula->setFormulaText(row.text(QStringLiteral("formula_text")));
        formula->setPartitionID(intField(row, QStringLiteral("partition_id")));
        catalogue.formulas().add(QString::number(formula->FormulaID()), formula);
    });
}

void CatalogueLoader::loadGroups(Catalogue& catalogue) {
    catalogue.groups().clear();
    readAll(connection_, groupsStatement(), catalogue.groups(), [&](const db::Recordset& row) {
        auto group = std::make_shared<Group>();
        group->setGroupID(intField(row, QStringLiteral("group_id")));
        group->setGroupName(trimmedText(row, QStringLiteral("group_name")));
        group->setPartitionID(intField(row, QStringLiteral("partition_id")));
        group->setEffectiveDate(dateField(row, QStringLiteral("incentive_effective_date")));
        group->setIsPartitionDefault(boolField(row, QStringLiteral("flag1")));
        catalogue.groups().add(QString::number(group->GroupID()), group);
    });
}

} // namespace velora::catalogue
