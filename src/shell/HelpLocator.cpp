#include "HelpLocator.h"
#include "BuildInfo.h"

#include <QDir>
#include <QFileInfo>

namespace velora::shell {

QString HelpLocator::find(const QString& programDir) {
    return find(programDir, builtInDir());
}

QString HelpLocator::find(const QString& programDir, const QString& builtInDir) {
    for (const QString& folder : folders(programDir, builtInDir)) {
        const QFileInfo index(QDir(folder).filePath(kIndexFile));
        if (index.isFile())
            return QDir::cleanPath(index.absoluteFilePath());
    }
    return {};
}

QStringList HelpLocator::folders(const QString& programDir, const QString& builtInDir) {
    QStringList result;
    if (!programDir.isEmpty()) {
        const QDir program(programDir);
        result << QDir::cleanPath(program.filePath(QStringLiteral("../share/velora/help")))
               << QDir::cleanPath(program.filePath(QStringLiteral("help")));
    }
    if (!builtInDir.isEmpty())
        result << QDir::cleanPath(builtInDir);
    return result;
}

QString HelpLocator::builtInDir() {
    return QStringLiteral(VELORA_HELP_DIR);
}

} // namespace velora::shell
