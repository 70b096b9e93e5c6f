#pragma once

#include "Catalogue.h"

#include <QString>
#include <memory>

namespace velora::db {
class Connection;
}

namespace velora::catalogue {

// Which partitions an operator may see, and how items are labelled with their partition when
// the installation works per partition.
//
// The visible partitions of a partition are the rows of the suite's procedure
// partition_select_children; only those the catalogue also holds are accessible (a partition
// made after the catalogue load is not).
class PartitionAccess {
public:
    PartitionAccess(db::Connection& connection, const Catalogue& catalogue);

    // Runs "EXEC partition_select_children <partitionId>" and returns the catalogue's
    // partitions among its rows, in row order, keyed by the decimal text of the id.
    CatalogueCollection<Partition> accessiblePartitions(int partitionId) const;

    // The first group, in the catalogue's order (by name), that is the default group of the
    // partition; nullptr when the partition has none.
    std::shared_ptr<Group> findDefaultGroup(int partitionId) const;

private:
    db::Connection& connection_;
    const Catalogue& catalogue_;
};

// Appends the ids of the accessible partitions to a comma-separated list ("1,3,4"). The
// current-user record's list is appended to, never cleared, by each display.
QString AppendAvailablePartitions(const QString& list,
                                  const CatalogueCollection<Partition>& accessible);

// True when the item's partition is one of the accessible ones. Items without a partition
// (-1) never are.
bool IsAccessible(const CatalogueCollection<Partition>& accessible, int partitionId);

// The INCENT_PARTITION_DISPLAY preference: 0 gives "partition\item", any other value
// "item\partition".
QString PartitionQualifiedName(const QString& item, const QString& partition, int preference);

// The partition-qualified names of formulas and groups, with " (Default)" behind formula 1
// and behind each partition's default group.
QString FormulaDisplayName(const Formula& formula, const QString& partition, int preference);
QString GroupDisplayName(const Group& group, const QString& partition, int preference);

} // namespace velora::catalogue
