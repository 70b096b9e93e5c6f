#include "CommandLine.h"
#include "ShellError.h"
#include "StartupConfiguration.h"
#include "config/Registry.h"
#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/DbError.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

namespace {

// Reports a start-up failure the way the program does: number and description.
int startupFailure(int number, const QString& description)
{
    QTextStream(stderr) << "Velora Incentive\nError Number:" << number
                        << "\nError Description:" << description << Qt::endl;
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    using namespace velora;
    try {
        const shell::CommandLine commandLine =
            shell::CommandLine::fromProcessArguments(app.arguments());
        const shell::StartupConfiguration startup = shell::StartupConfiguration::read(
            config::Registry::fromEnvironment(), commandLine,
            QFileInfo(app.applicationFilePath()).completeBaseName());
        db::Connection connection(startup.connectionOptions);
        connection.open(startup.connectionString);
        db::Recordset partitions = connection.openRecordset(
            QStringLiteral("SELECT COUNT(*) FROM system_partitions WHERE partition_id <> 0 AND "
                           "delete_date IS NULL"));
        const bool partitionMode = !partitions.eof() && partitions.value(0).toInt() > 1;
        const db::ConnectionString parsed = db::ConnectionString::parse(startup.connectionString);
        QTextStream(stdout) << "Velora Incentive started.\nConfiguration: "
                            << startup.configurationPath << "\nDatabase: "
                            << (parsed.isEmbedded() ? parsed.embeddedDatabasePath(
                                                          startup.connectionOptions.baseDirectory)
                                                    : parsed.value(QStringLiteral("Data Source")))
                            << "\nPartition mode: " << (partitionMode ? "on" : "off") << Qt::endl;
        connection.close();
        return 0;
    } catch (const shell::ShellError& e) {
        return startupFailure(e.number(), e.description());
    } catch (const db::DbError& e) {
        return startupFailure(e.number(), e.description());
    }
}
