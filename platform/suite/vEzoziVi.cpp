#include "vEzoziVi.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>

namespace velora::suite {

// The argument text goes to the program as one argument, as the caller wrote it: the programs
// of the suite read their switches from the whole text.
int vEzoziVi::Shell(const QString& program, const QString& arguments) {
    QProcess process;
    process.setProgram(program);
    process.setArguments({arguments});
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    QEventLoop loop;
    bool failed = false;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            failed = true;
            loop.quit();
        }
    });
    process.start();
    if (!failed && process.state() != QProcess::NotRunning)
        loop.exec();
    if (failed || process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

QString vEzoziVi::TempFolder(const QString& configurationPath) {
    const QDir folder = QFileInfo(configurationPath).absoluteDir();
    if (folder.dirName().compare(QLatin1String("SYSTEM"), Qt::CaseInsensitive) == 0)
        return QDir::cleanPath(folder.absolutePath() + QStringLiteral("/../TEMP"));
    return QDir(QDir::tempPath()).filePath(QStringLiteral("velora"));
}

} // namespace velora::suite
