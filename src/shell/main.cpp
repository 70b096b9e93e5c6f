#include "BuildInfo.h"
#include "CommandLine.h"
#include "MainWindow.h"
#include "common/AppContext.h"
#include "common/QtMessages.h"
#include "config/Registry.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velora Incentive"));
    QApplication::setApplicationVersion(QStringLiteral(VELORA_VERSION));
    using namespace velora;

    common::QtMessages messages;
    const QStringList arguments = QApplication::arguments();
    common::AppContext context(messages, config::Registry::fromEnvironment(),
                               [arguments] { return shell::CommandLine::argumentText(arguments); });
    shell::MainWindow window(context);
    messages.setParent(&window);
    if (!window.load())
        return 1;
    window.show();
    return QApplication::exec();
}
