#include "EvaluatedUser.h"

#include "db/Connection.h"
#include "db/SqlText.h"

#include <QStringList>

namespace velora::engine {

namespace {

const QString DeletedMark = QStringLiteral(" DEL");

QString userColumns() {
    return QStringLiteral("SELECT Trans_info.trans_id, Trans_info.incentive_group_id, "
                          "Trans_info.extra3 ");
}

EvaluatedUser fromRow(const db::Recordset& row) {
    EvaluatedUser user;
    user.transId = row.text(QStringLiteral("trans_id"));
    const QVariant group = row.value(QStringLiteral("incentive_group_id"));
    const QVariant partition = row.value(QStringLiteral("extra3"));
    user.groupId = group.isNull() ? -1 : group.toInt();
    user.partitionId = partition.isNull() ? -1 : partition.toInt();
    user.found = true;
    return user;
}

// The user with this id in the partition of this name; with deletedOnly, a deleted one.
bool findLabelled(db::Connection& connection, const QString& id, const QString& partition,
                  bool deletedOnly, EvaluatedUser& user) {
    if (id.isEmpty() || partition.trimmed().isEmpty())
        return false;
    QString statement = userColumns() +
                        QStringLiteral("FROM Trans_info, System_partitions WHERE "
                                       "System_partitions.partition_id = Trans_info.extra3 AND "
                                       "Trans_info.trans_id = ") +
                        db::sqlTextLiteral(id) +
                        QStringLiteral(" AND UPPER(RTRIM(System_partitions.partition_name)) = "
                                       "UPPER(") +
                        db::sqlTextLiteral(partition.trimmed()) + QLatin1Char(')');
    if (deletedOnly)
        statement += QStringLiteral(" AND Trans_info.is_deleted <> 0");
    const db::Recordset row = connection.openRecordset(statement);
    if (row.eof())
        return false;
    user = fromRow(row);
    return true;
}

// Every reading of the text as id and partition label: for each backslash, the label before
// it and the id after it, and the other way round.
struct Reading {
    QString id;
    QString partition;
};

QList<Reading> readings(const QString& text) {
    QList<Reading> result;
    for (qsizetype at = text.indexOf(QLatin1Char('\\')); at >= 0;
         at = text.indexOf(QLatin1Char('\\'), at + 1)) {
        const QString before = text.left(at);
        const QString after = text.mid(at + 1);
        result.append({after, before});
        result.append({before, after});
    }
    return result;
}

} // namespace

EvaluatedUser EvaluatedUser::find(db::Connection& connection, const QString& text) {
    const db::Recordset exact = connection.openRecordset(
        userColumns() + QStringLiteral("FROM Trans_info WHERE trans_id = ") +
        db::sqlTextLiteral(text));
    if (!exact.eof())
        return fromRow(exact);

    QList<EvaluatedUser> matches;
    auto addMatch = [&matches](const EvaluatedUser& user) {
        for (const EvaluatedUser& known : matches) {
            if (known.transId.compare(user.transId, Qt::CaseInsensitive) == 0)
                return;
        }
        matches.append(user);
    };
    for (const Reading& reading : readings(text)) {
        EvaluatedUser user;
        if (findLabelled(connection, reading.id, reading.partition, false, user))
            addMatch(user);
        if (reading.id.endsWith(DeletedMark) &&
            findLabelled(connection, reading.id.chopped(DeletedMark.size()), reading.partition,
                         true, user))
            addMatch(user);
    }
    if (matches.size() == 1)
        return matches.first();
    EvaluatedUser nobody;
    nobody.transId = text;
    return nobody;
}

} // namespace velora::engine
