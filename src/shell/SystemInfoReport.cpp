#include "SystemInfoReport.h"

#include "ConnectionStringMask.h"

#include <QStringList>
#include <algorithm>

namespace velora::shell {

namespace {

QString orNone(const QString& value) {
    return value.trimmed().isEmpty() ? QStringLiteral("(none)") : value;
}

QString partitionText(const SystemInfo::User& user) {
    const QString id = QString::number(user.partitionId);
    const QString name = user.partitionName.trimmed();
    if (name.isEmpty())
        return id;
    return id % QLatin1String(" (") % name % QLatin1Char(')');
}

QString screenText(const QSize& size) {
    return size.isValid() ? QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())
                          : QStringLiteral("(unknown)");
}

} // namespace

SystemInfoReport::SystemInfoReport(const SystemInfo& info) {
    sections_ << connectionSection(info) << userSection(info.user)
              << workstationSection(info.workstation);
}

SystemInfoReport::Section SystemInfoReport::connectionSection(const SystemInfo& info) {
    return {QStringLiteral("Connection"),
            {{QStringLiteral("Engine"), orNone(info.connection.engine)},
             {QStringLiteral("Database"), orNone(info.connection.target)},
             {QStringLiteral("Connection string"),
              orNone(maskPassword(info.connection.connectionString))},
             {QStringLiteral("Configuration file"), orNone(info.configurationFile)}}};
}

SystemInfoReport::Section SystemInfoReport::userSection(const SystemInfo::User& user) {
    return {QStringLiteral("User"),
            {{QStringLiteral("User name"), orNone(user.userName)},
             {QStringLiteral("Name"), orNone(user.fullName)},
             {QStringLiteral("User ID"), QString::number(user.userId)},
             {QStringLiteral("Transcriptionist ID"), orNone(user.transId)},
             {QStringLiteral("Partition"), partitionText(user)},
             {QStringLiteral("Rights"), rightsText(user.rights)}}};
}

SystemInfoReport::Section
SystemInfoReport::workstationSection(const SystemInfo::Workstation& station) {
    return {QStringLiteral("Workstation"),
            {{QStringLiteral("Host name"), orNone(station.hostName)},
             {QStringLiteral("Operating system"), orNone(station.osName)},
             {QStringLiteral("System version"), orNone(station.osVersion)},
             {QStringLiteral("Qt version"), orNone(station.qtVersion)},
             {QStringLiteral("Screen size"), screenText(station.screenSize)},
             {QStringLiteral("Locale"), orNone(station.locale)},
             {QStringLiteral("Date format"), orNone(station.dateFormat)}}};
}

QString SystemInfoReport::rightsText(const QList<int>& rights) {
    if (rights.isEmpty())
        return QStringLiteral("(none)");
    QList<int> sorted = rights;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    QStringList numbers;
    for (int right : sorted)
        numbers << QString::number(right);
    return numbers.join(QStringLiteral(", "));
}

QString SystemInfoReport::toText() const {
    qsizetype width = 0;
    for (const Section& section : sections_)
        for (const Row& row : section.rows)
            width = std::max(width, row.item.size());

    QStringList lines{QStringLiteral("Velora Incentive system information")};
    for (const Section& section : sections_) {
        lines << QString() << section.title;
        for (const Row& row : section.rows)
            lines << QString(QLatin1String("  ") %
                             QString(row.item % QLatin1Char(':')).leftJustified(width + 2) %
                             row.value);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace velora::shell
