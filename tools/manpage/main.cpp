// velora-manpage: writes a program's manual page from what the program prints for --help.
// Used by the build only; not installed.

#include "ManPage.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QTextStream err(stderr);
    if (arguments.size() != 6) {
        err << "usage: velora-manpage PROGRAM NAME VERSION DATE OUTPUT\n";
        return 2;
    }
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(arguments[1], {QStringLiteral("--help")});
    if (!program.waitForFinished(60000) || program.exitStatus() != QProcess::NormalExit ||
        program.exitCode() != 0) {
        err << "velora-manpage: " << arguments[1] << " --help failed: " << program.errorString()
            << '\n'
            << QString::fromUtf8(program.readAllStandardError());
        return 1;
    }
    const QString page =
        velora::cli::ManPage::fromHelp(QString::fromUtf8(program.readAllStandardOutput()),
                                       {arguments[2], arguments[3], arguments[4]});
    QFile output(arguments[5]);
    if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        output.write(page.toUtf8()) < 0) {
        err << "velora-manpage: cannot write " << arguments[5] << ": " << output.errorString()
            << '\n';
        return 1;
    }
    return 0;
}
