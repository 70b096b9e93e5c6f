#pragma once

#include "catalogue/CatalogueCollection.h"
#include "catalogue/Partition.h"

#include <QDate>
#include <QString>
#include <functional>

class QComboBox;

namespace velora::db {
class Connection;
}
namespace velora::catalogue {
class Catalogue;
}
namespace velora::common {
class Messages;
}
namespace velora::groups {
class ValuePrompter;
class PartitionNamePrompter;
} // namespace velora::groups

namespace velora::formulas {

// The explorer's members that creating, renaming and deleting formulas and groups call. Ids are
// the decimal text of the row's id. The remove hooks take a node out without raising events (a
// row found gone from the database). A missing hook is skipped.
struct ExplorerHooks {
    std::function<void(const QString& text, const QString& id)> addFormula;
    std::function<void(const QString& text, const QString& id)> addGroup;
    std::function<void(const QString& id)> clickFormulaNode;
    std::function<void(const QString& id)> clickGroupNode;
    std::function<void(const QString& id)> removeFormulaNode;
    std::function<void(const QString& id)> removeGroupNode;
};

// What the create, rename and delete handlers of formulas and groups work with. The main window
// owns all of it.
struct RecordsEnvironment {
    db::Connection& connection;
    common::Messages& messages;
    catalogue::Catalogue& catalogue;
    const bool& partitionMode;
    std::function<int()> partitionDisplay; // INCENT_PARTITION_DISPLAY
    // True when the operator holds the supervisor right (17); only then may anything change.
    std::function<bool()> fullMode;
    groups::ValuePrompter& prompter;
    groups::PartitionNamePrompter& partitionPrompter;
    // The partitions the operator may see; a new item's partition is chosen among them.
    const catalogue::CatalogueCollection<catalogue::Partition>& accessiblePartitions;
    // The logged-in operator's own partition, offered first for a new item.
    std::function<int()> loginPartition;
    std::function<QDate()> today;
    QComboBox* cmbAccountPayFormula = nullptr;
    QComboBox* cmbUserHeaderGroupName = nullptr;
    ExplorerHooks explorer;
};

} // namespace velora::formulas
