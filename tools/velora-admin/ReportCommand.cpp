#include "ReportCommand.h"

#include "AdminError.h"
#include "SqlCommand.h"

#include "common/PreferenceKeys.h"
#include "common/PreferenceStore.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "report/PayPeriodReport.h"
#include "report/ReportCsv.h"
#include "report/ReportXlsx.h"

#include <QFileInfo>
#include <utility>

namespace velora::admin {

namespace {

QDate parseDate(const QString& option, const QString& text) {
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (!date.isValid() || text.size() != 10)
        throw UsageError(
            QStringLiteral("%1 expects a date as YYYY-MM-DD, not \"%2\"").arg(option, text));
    return date;
}

int parsePartition(const QString& text) {
    bool ok = false;
    const int id = text.toInt(&ok);
    if (!ok || id < 0)
        throw UsageError(
            QStringLiteral("--partition expects a partition number, not \"%1\"").arg(text));
    return id;
}

void applyOption(ReportCommand::Options& options, const QString& option, const QString& value) {
    if (option == QLatin1String("--from")) {
        options.from = parseDate(option, value);
    } else if (option == QLatin1String("--to")) {
        options.to = parseDate(option, value);
    } else if (option == QLatin1String("--partition")) {
        options.partitions << parsePartition(value);
    } else if (option == QLatin1String("--format")) {
        if (value != QLatin1String("csv") && value != QLatin1String("xlsx"))
            throw UsageError(QStringLiteral("--format expects csv or xlsx, not \"%1\"").arg(value));
        options.format = value;
    } else if (option == QLatin1String("--output")) {
        if (value.isEmpty())
            throw UsageError(QStringLiteral("--output expects a file name"));
        options.output = value;
    } else {
        throw UsageError(QStringLiteral("unknown option \"%1\"").arg(option));
    }
}

void requireComplete(const ReportCommand::Options& options) {
    const std::pair<const char*, bool> missing[] = {{"a database file", options.database.isEmpty()},
                                                    {"--from", !options.from.isValid()},
                                                    {"--to", !options.to.isValid()},
                                                    {"--format", options.format.isEmpty()},
                                                    {"--output", options.output.isEmpty()}};
    for (const auto& [what, absent] : missing) {
        if (absent)
            throw UsageError(QStringLiteral("expects %1").arg(QLatin1String(what)));
    }
    if (options.from > options.to)
        throw UsageError(
            QStringLiteral("--from %1 is after --to %2")
                .arg(options.from.toString(Qt::ISODate), options.to.toString(Qt::ISODate)));
}

// The system-level hour type, read as the program reads it (in the partition's rows when one
// partition is reported).
int hourMode(db::Connection& connection, const QList<int>& partitions) {
    common::PreferenceStore store(
        connection, {0, partitions.size() == 1 ? partitions.first() : 0, partitions.size() == 1});
    return store
        .GetPreferenceValue(common::PreferenceKey::HourType, common::PreferenceDefault::HourType,
                            true)
        .trimmed()
        .toInt();
}

// A partition that does not exist would give an empty report that reads as "nobody is owed
// anything": it is refused instead.
void requirePartitions(db::Connection& connection, const QList<int>& partitions) {
    for (int id : partitions) {
        db::Recordset rows = connection.openRecordset(
            QStringLiteral(
                "SELECT COUNT(*) AS found FROM System_partitions WHERE partition_id = ") +
            QString::number(id));
        if (rows.value(QStringLiteral("found")).toInt() == 0)
            throw UsageError(QStringLiteral("--partition %1: there is no such partition").arg(id));
    }
}

} // namespace

QString ReportCommand::usage() const {
    return QStringLiteral("report DB --from YYYY-MM-DD --to YYYY-MM-DD [--partition N] "
                          "--format csv|xlsx --output FILE");
}

ReportCommand::Options ReportCommand::parseOptions(const QStringList& arguments) {
    Options options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--"))) {
            if (!options.database.isEmpty())
                throw UsageError(
                    QStringLiteral("expects one database file, not \"%1\" as well").arg(argument));
            options.database = argument;
            continue;
        }
        // "--from 2024-01-01" and "--from=2024-01-01" both work.
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        if (equals >= 0) {
            applyOption(options, argument.left(equals), argument.mid(equals + 1));
        } else {
            if (i + 1 >= arguments.size())
                throw UsageError(QStringLiteral("%1 expects a value").arg(argument));
            applyOption(options, argument, arguments.at(++i));
        }
    }
    requireComplete(options);
    return options;
}

int ReportCommand::run(const QStringList& arguments, QTextStream& out) {
    const Options options = parseOptions(arguments);
    const QFileInfo database(options.database);
    if (!database.isFile())
        throw AdminError(AdminError::FileNotFound,
                         QStringLiteral("Database file not found: ") + options.database);
    db::ConnectionOptions connectionOptions;
    connectionOptions.baseDirectory = database.absolutePath();
    db::Connection connection(connectionOptions);
    connection.open(SqlCommand::connectionStringFor(database.absoluteFilePath()));

    requirePartitions(connection, options.partitions);
    const report::PayPeriod period = report::PayPeriod::range(options.from, options.to);
    const report::ReportScope scope{hourMode(connection, options.partitions), options.partitions};
    const report::ReportTable table = report::PayPeriodReport(connection).users(period, scope);
    const report::ExportResult written = options.format == QLatin1String("xlsx")
                                             ? report::ReportXlsx::write(table, options.output)
                                             : report::ReportCsv::write(table, options.output);
    if (!written.ok)
        throw AdminError(AdminError::PathFileAccess, written.message);
    out << table.lines.size() << " user(s), " << period.days() << " day(s) written to "
        << options.output << '\n';
    return 0;
}

} // namespace velora::admin
