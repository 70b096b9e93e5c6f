#include "SqliteProcedures.h"

#include "DbError.h"
#include "SqliteStatement.h"

#include <QHash>
#include <functional>

namespace velora::db {

namespace {

using Arguments = QHash<QString, QVariant>; // parameter name (lower case, with "@") -> value

struct Procedure {
    QString name;
    QStringList parameters; // declaration order, lower case
    QStringList optional;   // may be left out (partition arguments outside partition mode)
    QString output;         // output parameter, or empty
    std::function<Recordset(sqlite3*, const Arguments&, QVariant&)> body;
};

Recordset runQuery(sqlite3* db, const QString& sql, const QVariantList& values) {
    SqliteStatement statement(db, sql);
    for (int i = 0; i < values.size(); ++i)
        statement.bind(i + 1, values[i]);
    return statement.readAll();
}

QVariant scalar(sqlite3* db, const QString& sql, const QVariantList& values) {
    Recordset rs = runQuery(db, sql, values);
    return rs.eof() ? QVariant() : rs.value(0);
}

int toInteger(const QVariant& value, const QString& parameter) {
    bool ok = false;
    const int result = value.toInt(&ok);
    if (!ok)
        throw DbError(ErrorNumber::DataConversion,
                      QStringLiteral("Error converting data type varchar to int for parameter %1.")
                          .arg(parameter));
    return result;
}

QVariant partitionArgument(const Arguments& args) {
    const QVariant partition = args.value(QStringLiteral("@partition_id"));
    return partition.isNull() ? QVariant(-1)
                              : QVariant(toInteger(partition, QStringLiteral("@partition_id")));
}

// Every partition below and including the given one, walking parent_id; deleted partitions
// are left out, as is partition 0's link to itself.
Recordset partitionSelectChildren(sqlite3* db, const Arguments& args, QVariant&) {
    const int root =
        toInteger(args.value(QStringLiteral("@partition_id")), QStringLiteral("@partition_id"));
    return runQuery(
        db,
        QStringLiteral(
            "WITH RECURSIVE tree(id, depth, lineage) AS ("
            " SELECT partition_id, 0, '/' || partition_id || '/' FROM System_partitions"
            "  WHERE partition_id = ?1 AND delete_date IS NULL"
            " UNION"
            " SELECT p.partition_id, tree.depth + 1, tree.lineage || p.partition_id || '/'"
            "  FROM System_partitions p JOIN tree ON p.parent_id = tree.id"
            "  WHERE p.partition_id <> p.parent_id AND p.delete_date IS NULL AND tree.depth < 64)"
            " SELECT p.partition_id, p.parent_id, p.partition_name, p.partition_description,"
            " p.share_bitmask, tree.depth, tree.lineage, p.partition_type, p.access_flag,"
            " p.delete_date, p.flag1, p.flag2, p.flag3, p.flag4, p.flag5, p.flag6,"
            " p.string1, p.string2, p.string3, p.date1, p.date2"
            " FROM tree JOIN System_partitions p ON p.partition_id = tree.id"
            " ORDER BY tree.depth, p.partition_id"),
        {root});
}

Recordset getPreference(sqlite3* db, const Arguments& args, QVariant&) {
    return runQuery(db,
                    QStringLiteral("SELECT pref_value FROM Incentive_preference"
                                   " WHERE pref_key = ?1 AND user_id = ?2 AND partition_id = ?3"),
                    {args.value(QStringLiteral("@pref_key")).toString(),
                     toInteger(args.value(QStringLiteral("@user_id")), QStringLiteral("@user_id")),
                     partitionArgument(args)});
}

Recordset addPreference(sqlite3* db, const Arguments& args, QVariant&) {
    runQuery(db,
             QStringLiteral("INSERT OR REPLACE INTO Incentive_preference"
                            " (user_id, pref_type, pref_key, pref_value, partition_id)"
                            " VALUES (?1, ?2, ?3, ?4, ?5)"),
             {toInteger(args.value(QStringLiteral("@user_id")), QStringLiteral("@user_id")),
              toInteger(args.value(QStringLiteral("@pref_type")), QStringLiteral("@pref_type")),
              args.value(QStringLiteral("@pref_key")).toString(),
              args.value(QStringLiteral("@pref_value")), partitionArgument(args)});
    return {};
}

// The partition a new formula or group goes into: partition 0 when the caller names none.
int partitionOfNewRow(const Arguments& args) {
    const QVariant partition = args.value(QStringLiteral("@partition_id"));
    return partition.isNull() ? 0 : toInteger(partition, QStringLiteral("@partition_id"));
}

// Adds a row under the next free id unless the name is taken in the partition (names need only
// be unique within one); the output is the new id, or 0 when the partition has a row of that
// name already.
int addNamedRow(sqlite3* db, const QString& table, const QString& idColumn,
                const QString& nameColumn, const QString& name, int partition) {
    if (!scalar(db,
                QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?1 AND partition_id = ?2")
                    .arg(idColumn, table, nameColumn),
                {name, partition})
             .isNull())
        return 0;
    return scalar(db, QStringLiteral("SELECT IFNULL(MAX(%1), 0) + 1 FROM %2").arg(idColumn, table),
                  {})
        .toInt();
}

Recordset addFormula(sqlite3* db, const Arguments& args, QVariant& output) {
    const QString name = args.value(QStringLiteral("@formula_name")).toString();
    const int partition = partitionOfNewRow(args);
    const int id =
        addNamedRow(db, QStringLiteral("Incentive_formula"), QStringLiteral("formula_id"),
                    QStringLiteral("formula_name"), name, partition);
    if (id > 0)
        runQuery(db,
                 QStringLiteral("INSERT INTO Incentive_formula (formula_id, formula_name,"
                                " formula_text, partition_id) VALUES (?1, ?2, ?3, ?4)"),
                 {id, name, args.value(QStringLiteral("@formula_text")).toString(), partition});
    output = id;
    return {};
}

Recordset addGroup(sqlite3* db, const Arguments& args, QVariant& output) {
    const QString name = args.value(QStringLiteral("@group_name")).toString();
    const int partition = partitionOfNewRow(args);
    const int id = addNamedRow(db, QStringLiteral("Incentive_group"), QStringLiteral("group_id"),
                               QStringLiteral("group_name"), name, partition);
    if (id > 0) {
        const QVariant defaultArg = args.value(QStringLiteral("@is_default"));
        const int isDefault =
            defaultArg.isNull() ? 0 : (toInteger(defaultArg, QStringLiteral("@is_default")) != 0);
        // A partition has one default group: a new default takes the mark from the old one.
        if (isDefault)
            runQuery(db,
                     QStringLiteral("UPDATE Incentive_group SET flag1 = 0 WHERE partition_id = ?1"),
                     {partition});
        runQuery(db,
                 QStringLiteral("INSERT INTO Incentive_group (group_id, group_name, partition_id,"
                                " incentive_effective_date, flag1)"
                                " VALUES (?1, ?2, ?3, date('now', 'localtime'), ?4)"),
                 {id, name, partition, isDefault});
    }
    output = id;
    return {};
}

const QList<Procedure>& procedures() {
    static const QList<Procedure> all = {
        {QStringLiteral("partition_select_children"),
         {QStringLiteral("@partition_id")},
         {},
         {},
         partitionSelectChildren},
        {QStringLiteral("usp_incentive_get_preference"),
         {QStringLiteral("@pref_key"), QStringLiteral("@user_id"), QStringLiteral("@partition_id")},
         {QStringLiteral("@partition_id")},
         {},
         getPreference},
        {QStringLiteral("usp_incentive_add_preference"),
         {QStringLiteral("@user_id"), QStringLiteral("@pref_type"), QStringLiteral("@pref_key"),
          QStringLiteral("@pref_value"), QStringLiteral("@partition_id")},
         {QStringLiteral("@partition_id")},
         {},
         addPreference},
        {QStringLiteral("usp_incentive_add_formula"),
         {QStringLiteral("@formula_name"), QStringLiteral("@formula_text"),
          QStringLiteral("@partition_id"), QStringLiteral("@formula_id")},
         {QStringLiteral("@partition_id"), QStringLiteral("@formula_id")},
         QStringLiteral("@formula_id"),
         addFormula},
        {QStringLiteral("usp_incentive_add_group"),
         {QStringLiteral("@partition_id"), QStringLiteral("@is_default"),
          QStringLiteral("@group_name"), QStringLiteral("@group_id")},
         {QStringLiteral("@partition_id"), QStringLiteral("@is_default"),
          QStringLiteral("@group_id")},
         QStringLiteral("@group_id"),
         addGroup},
    };
    return all;
}

const Procedure* findProcedure(const QString& name) {
    for (const Procedure& procedure : procedures()) {
        if (procedure.name.compare(name, Qt::CaseInsensitive) == 0)
            return &procedure;
    }
    return nullptr;
}

QString normalisedName(const QString& name) {
    QString lower = name.trimmed().toLower();
    return lower.startsWith(QLatin1Char('@')) ? lower : QLatin1Char('@') + lower;
}

Arguments bindArguments(const Procedure& procedure, const ProcedureParameters& parameters) {
    Arguments args;
    int position = 0;
    for (const ProcedureParameter& parameter : parameters) {
        QString name = normalisedName(parameter.name);
        const bool isOutput = parameter.direction == ProcedureParameter::Direction::Output;
        // "@var OUTPUT" written by position names a variable of the caller, not a parameter.
        if (parameter.name.isEmpty() || (isOutput && !procedure.parameters.contains(name))) {
            if (position >= procedure.parameters.size())
                throw DbError(ErrorNumber::CommandError,
                              QStringLiteral("Procedure or function %1 has too many arguments "
                                             "specified.")
                                  .arg(procedure.name));
            name = procedure.parameters[position++];
        } else {
            if (!procedure.parameters.contains(name))
                throw DbError(ErrorNumber::CommandError,
                              QStringLiteral("%1 is not a parameter for procedure %2.")
                                  .arg(parameter.name, procedure.name));
        }
        if (!isOutput)
            args.insert(name, parameter.value);
    }
    for (const QString& name : procedure.parameters) {
        if (!args.contains(name) && !procedure.optional.contains(name) && name != procedure.output)
            throw DbError(ErrorNumber::CommandError,
                          QStringLiteral("Procedure or function '%1' expects parameter '%2', "
                                         "which was not supplied.")
                              .arg(procedure.name, name));
    }
    return args;
}

} // namespace

bool SqliteProcedures::exists(const QString& name) {
    return findProcedure(name) != nullptr;
}

Recordset SqliteProcedures::call(const QString& name, ProcedureParameters& parameters) {
    const Procedure* procedure = findProcedure(name);
    if (!procedure)
        throw DbError(ErrorNumber::CommandError,
                      QStringLiteral("Could not find stored procedure '%1'.").arg(name));
    const Arguments args = bindArguments(*procedure, parameters);
    QVariant output;
    Recordset rows = procedure->body(db_, args, output);
    for (ProcedureParameter& parameter : parameters) {
        if (parameter.direction == ProcedureParameter::Direction::Output)
            parameter.value = output;
    }
    return rows;
}

} // namespace velora::db
