#include "IHalvexINI.h"

#include "ShellError.h"

#include "config/PrivateProfile.h"
#include "config/Registry.h"

#include <QDir>
#include <QFileInfo>

namespace velora::shell {

namespace {

QString suiteRootKey() {
    return QStringLiteral("Software\\Norvane and Company\\Quillset 2.0 for Windows\\2.0\\");
}

} // namespace

IHalvexINI::IHalvexINI(const config::Registry& registry)
    : path_(defaultPath(registry.readString(config::Registry::Root::LocalMachine, suiteRootKey(),
                                            QStringLiteral("LocalRootDir")))) {
    if (!QFileInfo(path_).isFile())
        throw ShellError(ShellErrorNumber::ConfigurationFileMissing,
                         QStringLiteral("The ") + path_ +
                             QStringLiteral(" file could not be found. Please contact the "
                                            "vendor of this application for more information."),
                         QStringLiteral("IHalveiINI"));
}

QString IHalvexINI::defaultPath(const QString& localRootDir) {
    // A root that already ends in a separator gets none added; an empty root names the
    // file at the top of the current drive.
    const bool endsInSeparator = localRootDir.endsWith(u'\\') || localRootDir.endsWith(u'/');
    const QString file = QStringLiteral("HALVEX\\SYSTEM\\HALVEX.INI");
    const QString separator = endsInSeparator ? QString() : QStringLiteral("\\");
    return nativePath(localRootDir + separator + file);
}

QString IHalvexINI::nativePath(const QString& path) {
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(path);
#else
    QString native = path;
    native.replace(u'\\', u'/');
    return native;
#endif
}

QString IHalvexINI::GetItem(const QString& section, const QString& key) const {
    return config::PrivateProfile::getString(nativePath(path_), section, key);
}

} // namespace velora::shell
