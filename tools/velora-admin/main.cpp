// velora-admin: creates and inspects Velora Incentive databases and demo installations.

#include "AdminCommand.h"
#include "AdminError.h"
#include "DemoCommand.h"
#include "InitCommand.h"
#include "ReportCommand.h"
#include "SqlCommand.h"
#include "UserCommand.h"

#include "db/DbError.h"

#include <QCoreApplication>
#include <memory>
#include <vector>

namespace {

using velora::admin::AdminCommand;

std::vector<std::unique_ptr<AdminCommand>> allCommands() {
    std::vector<std::unique_ptr<AdminCommand>> commands;
    commands.push_back(std::make_unique<velora::admin::InitCommand>());
    commands.push_back(std::make_unique<velora::admin::DemoCommand>());
    commands.push_back(std::make_unique<velora::admin::SqlCommand>());
    commands.push_back(std::make_unique<velora::admin::UserCommand>());
    commands.push_back(std::make_unique<velora::admin::ReportCommand>());
    return commands;
}

void printUsage(QTextStream& err, const std::vector<std::unique_ptr<AdminCommand>>& commands) {
    err << "usage:\n";
    for (const auto& command : commands) {
        const QStringList lines = command->usage().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& line : lines)
            err << "  velora-admin " << line << '\n';
    }
}

AdminCommand* findCommand(const std::vector<std::unique_ptr<AdminCommand>>& commands,
                          const QString& name) {
    for (const auto& command : commands) {
        if (command->name() == name)
            return command.get();
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const auto commands = allCommands();

    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        printUsage(err, commands);
        return 2;
    }
    const QString name = arguments.takeFirst();
    AdminCommand* command = findCommand(commands, name);
    if (!command) {
        err << "velora-admin: unknown command \"" << name << "\"\n";
        printUsage(err, commands);
        return 2;
    }

    try {
        return command->run(arguments, out);
    } catch (const velora::admin::UsageError& e) {
        out.flush();
        err << "velora-admin " << name << ": " << e.message() << '\n';
        printUsage(err, commands);
        return 2;
    } catch (const velora::db::DbError& e) {
        out.flush();
        err << "Error " << e.number() << ": " << e.description() << '\n';
        return 1;
    } catch (const velora::admin::AdminError& e) {
        out.flush();
        err << "Error " << e.number() << ": " << e.description() << '\n';
        return 1;
    }
}
