#pragma once

#include "ScriptedPrompter.h"
#include "catalogue/Catalogue.h"
#include "common/ScriptedMessages.h"
#include "common/TestDatabase.h"
#include "detail/UserHeaderLoader.h"
#include "detail/UserHeaderPane.h"
#include "groups/EffectiveDateProcedure.h"
#include "groups/GroupCreator.h"
#include "groups/UserGroupAssignment.h"
#include "suite/HXRegion.h"

#include <QComboBox>

namespace velora::test {

// A database and a hand-made catalogue holding the same partitions, groups and users, with the
// user header, the group assignment, the group creator and the header loader wired to them as
// the main window wires them. Today is 15 May 2024; dates are typed month/day/year.
class GroupsFixture {
public:
    static QDate today() { return {2024, 5, 15}; }

    explicit GroupsFixture(bool partitions)
        : partitionMode(partitions) {}

    void addPartition(int id, const QString& name, int parent = 0) {
        exec(QStringLiteral("INSERT INTO System_partitions (partition_id, parent_id, "
                            "partition_name, partition_description) VALUES (%1, %2, '%3', '%3')")
                 .arg(id)
                 .arg(parent)
                 .arg(name));
        auto partition = std::make_shared<catalogue::Partition>();
        partition->setPartitionID(id);
        partition->setPartitionName(name);
        catalogue.partitions().add(QString::number(id), partition);
    }

    // Groups go into the catalogue in the order they are added (the catalogue's is by name).
    void addGroup(int id, const QString& name, int partition, bool isDefault = false) {
        exec(QStringLiteral("INSERT INTO Incentive_group (group_id, group_name, partition_id, "
                            "incentive_effective_date, flag1) VALUES (%1, '%2', %3, '2020-01-01', "
                            "%4)")
                 .arg(id)
                 .arg(name)
                 .arg(partition)
                 .arg(isDefault ? 1 : 0));
        auto group = std::make_shared<catalogue::Group>();
        group->setGroupID(id);
        group->setGroupName(name);
        group->setPartitionID(partition);
        group->setIsPartitionDefault(isDefault);
        catalogue.groups().add(QString::number(id), group);
    }

    void addUser(const QString& transID, int partition, int group,
                 const QString& effective = QStringLiteral("2024-01-01")) {
        exec(QStringLiteral("INSERT INTO Trans_info (trans_id, extra3, incentive_group_id, "
                            "incentive_effective_date) VALUES ('%1', %2, %3, '%4')")
                 .arg(transID)
                 .arg(partition)
                 .arg(group)
                 .arg(effective));
        auto user = std::make_shared<catalogue::User>();
        user->setTransID(transID);
        user->setPartitionID(partition);
        user->setGroupID(group);
        catalogue.users().add(transID, user);
    }

    void addDay(const QString& transID, int account, const QString& day, bool locked) {
        exec(QStringLiteral("INSERT INTO Trans_incentive (trans_id, hosp_acct_id, shift_date, "
                            "locked) VALUES ('%1', %2, '%3', %4)")
                 .arg(transID)
                 .arg(account)
                 .arg(day)
                 .arg(locked ? 1 : 0));
    }

    void exec(const QString& statement) {
        db.connection().ensureOpen();
        db.exec(statement);
    }

    // Every row of a query, its columns joined with ":"; the connection is left open.
    QStringList rows(const QString& statement) {
        db.connection().ensureOpen();
        QStringList found;
        for (db::Recordset rs = db.connection().openRecordset(statement); !rs.eof();
             rs.moveNext()) {
            QStringList fields;
            for (int i = 0; i < rs.fieldCount(); ++i)
                fields << rs.value(i).toString();
            found << fields.join(QLatin1Char(':'));
        }
        return found;
    }

    // The locked days of a user, "account:day" in date order.
    QStringList lockedDays(const QString& transID) {
        return rows(QStringLiteral("SELECT hosp_acct_id, shift_date FROM Trans_incentive WHERE "
                                   "trans_id = '%1' AND locked = 1 ORDER BY shift_date, "
                                   "hosp_acct_id")
                        .arg(transID));
    }

    // The stored group and effective date of a user, "group@date".
    QString membership(const QString& transID) {
        return rows(QStringLiteral("SELECT incentive_group_id, incentive_effective_date FROM "
                                   "Trans_info WHERE trans_id = '%1'")
                        .arg(transID))
            .value(0)
            .replace(QLatin1Char(':'), QLatin1Char('@'));
    }

    // The entries of a drop-down list, in order.
    static QStringList itemTexts(const QComboBox& list) {
        QStringList texts;
        for (int i = 0; i < list.count(); ++i)
            texts << list.itemText(i);
        return texts;
    }
    QStringList listTexts() const { return itemTexts(groupList()); }

    QComboBox& groupList() const { return *pane.cmbUserHeaderGroupName(); }

    TestDatabase db;
    suite::HXRegion region{QLocale(QLocale::English, QLocale::UnitedStates)};
    ScriptedMessages messages;
    ScriptedPrompter prompter;
    catalogue::Catalogue catalogue;
    bool partitionMode;
    int partitionDisplay = 0;
    std::shared_ptr<catalogue::User> currentUser;
    catalogue::CatalogueCollection<catalogue::Partition> userPartitions;
    detail::UserHeaderPane pane;
    bool paneShown = false;
    int busyDepth = 0;

    groups::EffectiveDateProcedure procedure{prompter, messages, region, &GroupsFixture::today};
    groups::UserGroupAssignment assignment{{db.connection(), catalogue, partitionMode,
                                            [this] { return partitionDisplay; }, currentUser,
                                            messages, procedure},
                                           groupList()};
    groups::GroupCreator creator{{db.connection(),
                                  messages,
                                  catalogue,
                                  partitionMode,
                                  [this] { return partitionDisplay; },
                                  &GroupsFixture::today,
                                  &groupList(),
                                  {}}};
    detail::UserHeaderLoader loader{{db.connection(), catalogue, partitionMode, currentUser,
                                     userPartitions, messages, region, [this] { ++busyDepth; },
                                     [this] { busyDepth = 0; }, [this] { paneShown = true; },
                                     [this] { return paneShown; }},
                                    pane,
                                    assignment,
                                    creator};
};

} // namespace velora::test
