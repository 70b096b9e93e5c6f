#pragma once

#include <QString>

namespace velora::config {

// Read-only access to string values of the registry. This platform has no registry, so each
// root is a file in INI form: section names are key paths, keys are value names ("@" is a
// key's default value). A value is a string unless it is written in the typed form of a
// registry export ("dword:0000001f", "qword:...", "hex:...", "hex(7):..."); a value enclosed
// in double quotes is always a string, without the quotes.
class Registry {
public:
    enum class Root { LocalMachine, CurrentUser };

    // Values longer than this, terminator included, do not fit the reader's buffer.
    static constexpr qsizetype kBufferLength = 256;

    Registry(QString localMachineFile, QString currentUserFile);

    // $VELORA_REGISTRY serves both roots when set; otherwise the files registry.ini (local
    // machine) and registry-user.ini (current user) in $XDG_CONFIG_HOME/velora, by default
    // ~/.config/velora.
    static Registry fromEnvironment();

    // The string value, or "" when the key or the value is missing, the value is not a
    // string, or it is 256 characters or longer. Key paths are compared without regard to
    // case, with "\" or "/" as separators and a trailing separator ignored.
    QString readString(Root root, const QString& keyPath, const QString& valueName) const;

    const QString& file(Root root) const;

private:
    QString localMachineFile_;
    QString currentUserFile_;
};

} // namespace velora::config
