#include "CatalogueDisplay.h"

#include "HXPartition.h"
#include "PartitionAccess.h"
#include "common/Messages.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Recordset.h"
#include "explorer/ExplorerPopulation.h"
#include "suite/HXLoginUser.h"

namespace velora::catalogue {

namespace {

// The right that gives full mode; without it the operator sees only their own figures.
constexpr int kFullModePrivilege = 17;

QString accountRowsStatement() {
    return QStringLiteral("SELECT hosp_acct_id, hosp_acct_name, hosp_acct_description, "
                          "is_deleted FROM Account_info WHERE hosp_acct_id > -1");
}

QString userRowsStatement() {
    return QStringLiteral("SELECT DISTINCT trans_id AS user_name, rtrim(last_name) + ', ' + "
                          "rtrim(first_name) AS full_name, last_name, is_deleted ") +
           QStringLiteral("FROM Trans_info ") +
           QStringLiteral("WHERE trans_type = 1 ORDER BY last_name");
}

QString formulaRowsStatement() {
    return QStringLiteral(
        "SELECT formula_id, formula_name, formula_text FROM Incentive_formula ORDER BY "
        "formula_name");
}

QString groupRowsStatement() {
    return QStringLiteral("SELECT group_id, group_name FROM Incentive_group ORDER BY group_name");
}

// The account with id 0 is the suite's walk-in account, which an operator never types for.
QString operatorAccountRowsStatement() {
    return QStringLiteral("SELECT DISTINCT hosp_acct_id, hosp_acct_name, is_deleted FROM "
                          "Account_info WHERE hosp_acct_id > 0");
}

QString idText(const db::Recordset& row, const QString& name) {
    return QString::number(VariantToInt32(row.value(name)));
}

// A NULL flag cannot be converted and fails the row.
bool flag(const db::Recordset& row, const QString& name) {
    return VariantToInt32(row.value(name)) != 0;
}

} // namespace

CatalogueDisplay::CatalogueDisplay(CatalogueDisplayEnvironment environment)
    : env_(std::move(environment)) {}

QString CatalogueDisplay::failureText(int number, const QString& description) {
    return QStringLiteral("An Error Occurred Attempting To Load The Nodes Of The Zarererov "
                          "Avudezez. Please Contact The Vendor For More Information.") +
           QStringLiteral("\r\n\r\nError ") + QString::number(number) + QLatin1Char(':') +
           description;
}

DisplayResult CatalogueDisplay::show() {
    for (;;) {
        switch (runPass()) {
        case Outcome::Finished:
            return DisplayResult::Shown;
        case Outcome::Restart:
            closeConnection();
            break;
        case Outcome::Abort:
            closeConnection();
            return DisplayResult::Aborted;
        case Outcome::Cancel:
            if (env_.endProgram)
                env_.endProgram();
            return DisplayResult::Cancelled;
        }
    }
}

CatalogueDisplay::Outcome CatalogueDisplay::runPass() {
    try {
        for (const Step step : steps())
            attempt([this, step] { (this->*step)(); });
        return Outcome::Finished;
    } catch (const Interruption& interruption) {
        return interruption.outcome;
    }
}

std::vector<CatalogueDisplay::Step> CatalogueDisplay::steps() const {
    using D = CatalogueDisplay;
    if (!env_.loginUser.privilege(kFullModePrivilege))
        return {&D::openConnection,  &D::loadCatalogue,      &D::addOperatorAccountRows,
                &D::addLoggedInUser, &D::enableOperatorMode, &D::finish};
    if (env_.partitionMode)
        return {&D::openConnection,
                &D::loadCatalogue,
                &D::announceInterface,
                &D::determineAccessiblePartitions,
                &D::addCataloguedUsers,
                &D::addSpecialAccounts,
                &D::addCataloguedAccounts,
                &D::addCataloguedFormulas,
                &D::addCataloguedGroups,
                &D::enableFullMode,
                &D::finish};
    return {&D::openConnection, &D::addAccountRows, &D::addUserRows, &D::addFormulaRows,
            &D::addGroupRows,   &D::enableFullMode, &D::finish};
}

// Runs one statement; a failure asks the operator, and Ignore returns to go on with the next.
void CatalogueDisplay::attempt(const std::function<void()>& statement) {
    try {
        statement();
    } catch (const NumberedError& error) {
        recover(error.number(), error.description());
    } catch (const std::exception& error) {
        recover(db::ErrorNumber::General, QString::fromUtf8(error.what()));
    }
}

void CatalogueDisplay::recover(int number, const QString& description) {
    switch (env_.messages.show(failureText(number, description), common::Messages::kTitle,
                               common::MessageIcon::Critical,
                               common::MessageButtons::AbortRetryIgnore)) {
    case common::MessageAnswer::Retry:
        throw Interruption{Outcome::Restart};
    case common::MessageAnswer::Ignore:
        return;
    default: // Abort, or the box closed some other way
        throw Interruption{Outcome::Abort};
    }
}

// Closing is the last thing done for a pass; a connection that will not close is left as is.
void CatalogueDisplay::closeConnection() {
    try {
        if (env_.connection.isOpen())
            env_.connection.close();
    } catch (const NumberedError&) {
    }
}

// Each row is a statement of its own: a row that cannot be read is skipped on Ignore.
void CatalogueDisplay::forEachRow(const QString& statement,
                                  const std::function<void(const db::Recordset&)>& readRow) {
    db::Recordset rows = env_.connection.openRecordset(statement);
    for (; !rows.eof(); rows.moveNext())
        attempt([&] { readRow(rows); });
}

// Only called for items of accessible partitions, so the partition is always there.
QString CatalogueDisplay::partitionName(int partitionId) const {
    const auto partition =
        GetObjectFromCollection(env_.accessiblePartitions, QString::number(partitionId));
    return partition ? partition->PartitionName() : QString();
}

QString CatalogueDisplay::qualifiedName(const QString& item, int partitionId) const {
    return PartitionQualifiedName(item, partitionName(partitionId),
                                  env_.preferences.partitionDisplay);
}

bool CatalogueDisplay::isVisible(int partitionId) const {
    return IsAccessible(env_.accessiblePartitions, partitionId);
}

void CatalogueDisplay::openConnection() {
    if (!env_.connection.isOpen())
        env_.connection.open(env_.connectionString);
}

void CatalogueDisplay::loadCatalogue() {
    CatalogueLoader loader(env_.connection);
    loader.setShowDeletedUsers(env_.preferences.showDeletedUsers);
    loader.setProgress(env_.progress);
    if (!loader.loadInto(env_.catalogue))
        throw Interruption{Outcome::Cancel};
}

// Only a message: the operator can no longer cancel once the catalogue is in memory.
void CatalogueDisplay::announceInterface() {
    if (env_.progress)
        env_.progress(QStringLiteral("Loading User Interface elements..."));
}

void CatalogueDisplay::determineAccessiblePartitions() {
    env_.accessiblePartitions = CatalogueCollection<Partition>();
    env_.accessiblePartitions = PartitionAccess(env_.connection, env_.catalogue)
                                    .accessiblePartitions(env_.loginUser.partition_id());
    env_.currentUser.setAvailablePartitions(AppendAvailablePartitions(
        env_.currentUser.AvailablePartitions(), env_.accessiblePartitions));
}

void CatalogueDisplay::addCataloguedUsers() {
    for (const auto& user : env_.catalogue.users()) {
        attempt([&] {
            if (!isVisible(user->PartitionID()) ||
                (user->IsDeleted() && !env_.preferences.showDeletedUsers))
                return;
            if (user->TransID().compare(env_.currentUser.TransID(), Qt::CaseInsensitive) == 0) {
                env_.currentUser.setGroupID(user->GroupID());
                env_.currentUser.setIsDeleted(user->IsDeleted());
                env_.currentUser.setPartitionID(user->PartitionID());
                env_.currentUser.setTransName(user->TransName());
                env_.currentUser.setUserID(user->UserID());
            }
            env_.explorer.AddUser(qualifiedName(user->TransName(), user->PartitionID()),
                                  user->TransID(), user->UserID(), user->IsDeleted(), true);
        });
    }
}

// The group's default and external accounts come first, whatever Account_info holds.
void CatalogueDisplay::addSpecialAccounts() {
    env_.explorer.AddAccount(QStringLiteral("__Default Account"),
                             QString::number(SpecialAccountID::Default));
    env_.explorer.AddAccount(QStringLiteral("__External Accounts"),
                             QString::number(SpecialAccountID::External));
}

void CatalogueDisplay::addCataloguedAccounts() {
    for (const auto& account : env_.catalogue.accounts()) {
        attempt([&] {
            if (!isVisible(account->PartitionID()) ||
                (account->IsDeleted() && !env_.preferences.showDeletedAccounts))
                return;
            env_.explorer.AddAccount(qualifiedName(account->AccountName(), account->PartitionID()),
                                     QString::number(account->AccountID()), account->IsDeleted());
        });
    }
}

void CatalogueDisplay::addCataloguedFormulas() {
    for (const auto& formula : env_.catalogue.formulas()) {
        attempt([&] {
            if (!isVisible(formula->PartitionID()))
                return;
            env_.explorer.AddFormula(FormulaDisplayName(*formula,
                                                        partitionName(formula->PartitionID()),
                                                        env_.preferences.partitionDisplay),
                                     QString::number(formula->FormulaID()));
        });
    }
}

void CatalogueDisplay::addCataloguedGroups() {
    for (const auto& group : env_.catalogue.groups()) {
        attempt([&] {
            if (!isVisible(group->PartitionID()))
                return;
            env_.explorer.AddGroup(GroupDisplayName(*group, partitionName(group->PartitionID()),
                                                    env_.preferences.partitionDisplay),
                                   QString::number(group->GroupID()), QString(), true);
        });
    }
}

void CatalogueDisplay::addAccountRows() {
    forEachRow(accountRowsStatement(), [this](const db::Recordset& row) {
        const bool deleted = flag(row, QStringLiteral("is_deleted"));
        if (deleted && !env_.preferences.showDeletedAccounts)
            return;
        env_.explorer.AddAccount(row.text(QStringLiteral("hosp_acct_name")),
                                 idText(row, QStringLiteral("hosp_acct_id")), deleted);
    });
}

void CatalogueDisplay::addUserRows() {
    forEachRow(userRowsStatement(), [this](const db::Recordset& row) {
        const bool deleted = flag(row, QStringLiteral("is_deleted"));
        if (deleted && !env_.preferences.showDeletedUsers)
            return;
        const QString userName = row.text(QStringLiteral("user_name"));
        // Without a last and first name the concatenation is NULL or blank: the id stands in.
        QString name = row.text(QStringLiteral("full_name"));
        if (name.trimmed().isEmpty())
            name = userName;
        env_.explorer.AddUser(name, userName, QString(), deleted, false);
    });
}

void CatalogueDisplay::addFormulaRows() {
    forEachRow(formulaRowsStatement(), [this](const db::Recordset& row) {
        env_.explorer.AddFormula(row.text(QStringLiteral("FORMULA_NAME")),
                                 idText(row, QStringLiteral("FORMULA_ID")));
    });
}

void CatalogueDisplay::addGroupRows() {
    forEachRow(groupRowsStatement(), [this](const db::Recordset& row) {
        env_.explorer.AddGroup(row.text(QStringLiteral("GROUP_NAME")),
                               idText(row, QStringLiteral("GROUP_ID")));
    });
}

void CatalogueDisplay::addOperatorAccountRows() {
    forEachRow(operatorAccountRowsStatement(), [this](const db::Recordset& row) {
        if (flag(row, QStringLiteral("is_deleted")) && !env_.preferences.showDeletedAccounts)
            return;
        env_.explorer.AddAccount(row.text(QStringLiteral("hosp_acct_name")),
                                 idText(row, QStringLiteral("hosp_acct_id")));
    });
}

// The operator's own node, taken as not deleted: a deleted user could not have logged in.
void CatalogueDisplay::addLoggedInUser() {
    const suite::HXLoginUser& user = env_.loginUser;
    env_.explorer.AddUser(user.first_name() + QLatin1Char(' ') + user.last_name(), user.trans_id(),
                          QString::number(user.user_id()), false, env_.partitionMode);
}

void CatalogueDisplay::enableFullMode() {
    if (env_.setFullModeControls)
        env_.setFullModeControls(true);
    env_.explorer.SetOperatorMode(false);
}

void CatalogueDisplay::enableOperatorMode() {
    if (env_.setFullModeControls)
        env_.setFullModeControls(false);
    env_.explorer.SetOperatorMode(true);
}

void CatalogueDisplay::finish() {
    closeConnection();
    env_.explorer.Sort();
}

} // namespace velora::catalogue
