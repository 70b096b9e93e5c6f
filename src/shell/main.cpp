#include "BuildInfo.h"
#include "CommandLine.h"
#include "IncentiveHelp.h"
#include "MainWindow.h"
#include "ProgramCommandLine.h"
#include "common/AppContext.h"
#include "common/DatabasePresence.h"
#include "common/ErrorLog.h"
#include "common/LoggedMessages.h"
#include "common/QtMessages.h"
#include "config/Registry.h"

#include <QApplication>
#include <QTextStream>

namespace {

QStringList rawArguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace

// --help, --version and a bad option are answered before the application exists: they need no
// display and never log in. The options are parsed again once Qt has taken its own (-platform).
int main(int argc, char** argv) {
    using namespace velora;
    const cli::ProgramHelp help = shell::incentiveHelp();
    QTextStream out(stdout);
    QTextStream err(stderr);
    {
        cli::ProgramCommandLine early(help);
        const auto outcome = early.parse(rawArguments(argc, argv));
        if (outcome != cli::ProgramCommandLine::Outcome::Run && !early.failedOnQtOptionsOnly())
            return early.finish(outcome, out, err);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velora Incentive"));
    QApplication::setApplicationVersion(QStringLiteral(VELORA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("velora-incentive"));
    cli::ProgramCommandLine options(help);
    const auto outcome = options.parse(QApplication::arguments());
    if (outcome != cli::ProgramCommandLine::Outcome::Run)
        return options.finish(outcome, out, err);

    common::QtMessages boxes;
    common::ErrorLog errorLog(common::ErrorLog::defaultPath());
    common::LoggedMessages messages(boxes, errorLog);
    const QStringList arguments = QApplication::arguments();
    common::AppContext context(messages, config::Registry::fromEnvironment(),
                               [arguments] { return shell::CommandLine::argumentText(arguments); });
    shell::MainWindow window(context);
    boxes.setParent(&window);
    if (!window.load())
        return 1;
    const auto presence =
        common::DatabasePresence::hold(*context.connection, context.connectionString);
    window.show();
    return QApplication::exec();
}
