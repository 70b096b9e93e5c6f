#include "AppContext.h"
#include "CommandLine.h"
#include "MainWindow.h"
#include "QtMessages.h"
#include "config/Registry.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velora Incentive"));
    QApplication::setApplicationVersion(QStringLiteral(VELORA_VERSION));
    using namespace velora;

    shell::QtMessages messages;
    const QStringList arguments = QApplication::arguments();
    shell::AppContext context(messages, config::Registry::fromEnvironment(),
                              [arguments] { return shell::CommandLine::argumentText(arguments); });
    shell::MainWindow window(context);
    messages.setParent(&window);
    if (!window.load())
        return 1;
    window.show();
    return QApplication::exec();
}
