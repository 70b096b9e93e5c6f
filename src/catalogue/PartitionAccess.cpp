#include "PartitionAccess.h"

#include "HXPartition.h"
#include "db/Connection.h"
#include "db/Recordset.h"

namespace velora::catalogue {

namespace {

// The formula every installation starts with; it is shown as the default one.
constexpr int kDefaultFormulaID = 1;

QString withDefaultMark(const QString& name, bool isDefault) {
    return isDefault ? name + QStringLiteral(" (Default)") : name;
}

} // namespace

PartitionAccess::PartitionAccess(db::Connection& connection, const Catalogue& catalogue)
    : connection_(connection)
    , catalogue_(catalogue) {}

CatalogueCollection<Partition> PartitionAccess::accessiblePartitions(int partitionId) const {
    CatalogueCollection<Partition> accessible;
    db::Recordset rows = connection_.openRecordset(
        QStringLiteral("EXEC partition_select_children ") + QString::number(partitionId));
    for (; !rows.eof(); rows.moveNext()) {
        const QString key =
            QString::number(VariantToInt32(rows.value(QStringLiteral("partition_id"))));
        const auto partition = GetObjectFromCollection(catalogue_.partitions(), key);
        // The procedure lists each partition of the tree once; a repeat adds nothing new.
        if (partition && !accessible.contains(key))
            accessible.add(key, partition);
    }
    return accessible;
}

std::shared_ptr<Group> PartitionAccess::findDefaultGroup(int partitionId) const {
    for (const auto& group : catalogue_.groups()) {
        if (group->IsPartitionDefault() && group->PartitionID() == partitionId)
            return group;
    }
    return nullptr;
}

QString AppendAvailablePartitions(const QString& list,
                                  const CatalogueCollection<Partition>& accessible) {
    QString result = list;
    for (const auto& partition : accessible) {
        if (!result.isEmpty())
            result += QLatin1Char(',');
        result += QString::number(partition->PartitionID());
    }
    return result;
}

bool IsAccessible(const CatalogueCollection<Partition>& accessible, int partitionId) {
    return accessible.contains(QString::number(partitionId));
}

QString PartitionQualifiedName(const QString& item, const QString& partition, int preference) {
    return preference == 0 ? partition + QLatin1Char('\\') + item
                           : item + QLatin1Char('\\') + partition;
}

QString FormulaDisplayName(const Formula& formula, const QString& partition, int preference) {
    return withDefaultMark(PartitionQualifiedName(formula.FormulaName(), partition, preference),
                           formula.FormulaID() == kDefaultFormulaID);
}

QString GroupDisplayName(const Group& group, const QString& partition, int preference) {
    return withDefaultMark(PartitionQualifiedName(group.GroupName(), partition, preference),
                           group.IsPartitionDefault());
}

} // namespace velora::catalogue
