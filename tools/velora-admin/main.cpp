// velora-admin: creates, inspects, backs up and restores Velora Incentive databases and demo
// installations.

#include "AdminCommand.h"
#include "AdminError.h"
#include "BackupCommand.h"
#include "DemoCommand.h"
#include "InitCommand.h"
#include "ReportCommand.h"
#include "RestoreCommand.h"
#include "ScrambleCommand.h"
#include "SqlCommand.h"
#include "UserCommand.h"

#include "ProgramCommandLine.h"
#include "ProgramVersion.h"
#include "db/DbError.h"

#include <QCoreApplication>
#include <memory>
#include <vector>

namespace {

using velora::admin::AdminCommand;

enum ExitStatus { kSuccess = 0, kFailed = 1, kUsage = 2, kInUse = 3 };

std::vector<std::unique_ptr<AdminCommand>> allCommands() {
    std::vector<std::unique_ptr<AdminCommand>> commands;
    commands.push_back(std::make_unique<velora::admin::InitCommand>());
    commands.push_back(std::make_unique<velora::admin::DemoCommand>());
    commands.push_back(std::make_unique<velora::admin::SqlCommand>());
    commands.push_back(std::make_unique<velora::admin::UserCommand>());
    commands.push_back(std::make_unique<velora::admin::ReportCommand>());
    commands.push_back(std::make_unique<velora::admin::BackupCommand>());
    commands.push_back(std::make_unique<velora::admin::RestoreCommand>());
    commands.push_back(std::make_unique<velora::admin::ScrambleCommand>());
    return commands;
}

velora::cli::ProgramHelp programHelp(const std::vector<std::unique_ptr<AdminCommand>>& commands) {
    velora::cli::ProgramHelp help(QStringLiteral("velora-admin"),
                                  QStringLiteral(VELORA_PROGRAM_VERSION),
                                  QStringLiteral("create, inspect, back up and restore Velora "
                                                 "Incentive databases"));
    for (const auto& command : commands) {
        for (const QString& line : command->usage().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            help.usage(line);
    }
    help.paragraph(QStringLiteral(
        "Works on the embedded (SQLite) database of an installation. Rows that a command prints\n"
        "are tab-separated under a header line; errors go to standard error as \"Error\n"
        "<number>: <description>\"."));
    help.section(
        QStringLiteral("Commands"),
        {{QStringLiteral("init FILE"),
          QStringLiteral("Creates a new, empty database with the schema, partition 0, the "
                         "default formula and group.\nAn existing file is never touched.")},
         {QStringLiteral("demo DIR [options]"),
          QStringLiteral("Lays out a complete demo installation under DIR (configuration, "
                         "database with demo data,\nregistry file) with the logins "
                         "supervisor/supervisor and operator/operator.")},
         {QStringLiteral("sql FILE STATEMENT"),
          QStringLiteral("Runs one statement of the program's dialect and prints its rows.")},
         {QStringLiteral("user ACTION FILE NAME ..."),
          QStringLiteral("Adds a login, sets its password, grants or revokes rights, disables "
                         "or enables it.")},
         {QStringLiteral("report DB --from --to [--partition N] --format F --output FILE"),
          QStringLiteral("Writes the pay-period report of the dates (YYYY-MM-DD) as csv or xlsx: "
                         "one row per user\nwith reports, lines, hours, IHours, ITyped and IPay "
                         "from the corrected values, and a total.")},
         {QStringLiteral("backup DB FILE"),
          QStringLiteral("Copies the database into the new file FILE while the program and the "
                         "engine keep working\n(SQLite's online backup). The copy is one "
                         "consistent state of the database and passes\nan integrity check "
                         "before it takes its name; an existing FILE is never overwritten.")},
         {QStringLiteral("restore FILE DB"),
          QStringLiteral("Puts the backup FILE back as the database DB. The backup is checked "
                         "first. An existing DB is\nreplaced only when nothing has it open; "
                         "it is kept as DB.before-restore-<time>.")},
         {QStringLiteral("scramble PASSWORD|-"),
          QStringLiteral("Prints the password scrambled as the configuration file's Password key "
                         "holds it (- reads\nit from standard input).")}});
    help.exitStatus(kSuccess, QStringLiteral("The command did what it was asked."));
    help.exitStatus(kFailed, QStringLiteral("It failed; the error is on standard error."));
    help.exitStatus(kUsage, QStringLiteral("The command line could not be used; nothing was "
                                           "done."));
    help.exitStatus(kInUse, QStringLiteral("restore: the database is in use; nothing was "
                                           "changed."));
    return help;
}

AdminCommand* findCommand(const std::vector<std::unique_ptr<AdminCommand>>& commands,
                          const QString& name) {
    for (const auto& command : commands) {
        if (command->name() == name)
            return command.get();
    }
    return nullptr;
}

void printUsage(QTextStream& err, const std::vector<std::unique_ptr<AdminCommand>>& commands) {
    err << "usage:\n";
    for (const auto& command : commands) {
        const QStringList lines = command->usage().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& line : lines)
            err << "  velora-admin " << line << '\n';
    }
    err << "Try \"velora-admin --help\".\n";
}

int reportError(QTextStream& out, QTextStream& err, const velora::NumberedError& e, int status) {
    out.flush();
    err << "Error " << e.number() << ": " << e.description() << '\n';
    return status;
}

int runCommand(AdminCommand& command, const QStringList& arguments, QTextStream& out,
               QTextStream& err, const std::vector<std::unique_ptr<AdminCommand>>& commands) {
    try {
        return command.run(arguments, out);
    } catch (const velora::admin::UsageError& e) {
        out.flush();
        err << "velora-admin " << command.name() << ": " << e.message() << '\n';
        printUsage(err, commands);
        return kUsage;
    } catch (const velora::admin::DatabaseInUse& e) {
        return reportError(out, err, e, kInUse);
    } catch (const velora::NumberedError& e) {
        return reportError(out, err, e, kFailed);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const auto commands = allCommands();
    const velora::cli::ProgramHelp help = programHelp(commands);
    velora::cli::ProgramCommandLine commandLine(help);
    const auto outcome = commandLine.parse(QCoreApplication::arguments());
    if (outcome != velora::cli::ProgramCommandLine::Outcome::Run)
        return commandLine.finish(outcome, out, err);

    QStringList arguments = commandLine.rest();
    if (arguments.isEmpty()) {
        printUsage(err, commands);
        return kUsage;
    }
    const QString name = arguments.takeFirst();
    AdminCommand* command = findCommand(commands, name);
    if (!command) {
        err << "velora-admin: unknown command \"" << name << "\"\n";
        printUsage(err, commands);
        return kUsage;
    }
    if (!arguments.isEmpty() && velora::cli::ProgramCommandLine::isHelpRequest(arguments.first()))
        return commandLine.finish(velora::cli::ProgramCommandLine::Outcome::Help, out, err);
    return runCommand(*command, arguments, out, err, commands);
}
