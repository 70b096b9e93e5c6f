#pragma once

#include <QString>

namespace velora::config {
class Registry;
}

namespace velora::shell {

// Reader of the suite configuration file (HALVEX\SYSTEM\HALVEX.INI below the suite's root
// directory). Nothing is cached: every GetItem reads the file anew.
class IHalvexINI {
public:
    // Locates the default file from the registry's "LocalRootDir"; throws ShellError when no
    // file is there, even if the caller means to point the reader elsewhere afterwards.
    explicit IHalvexINI(const config::Registry& registry);

    // The path in use, in this platform's form.
    const QString& HalvexINI() const { return path_; }
    void setHalvexINI(const QString& path) { path_ = path; }

    // The value of key in section, "" when the file, the section or the key is missing;
    // at most 255 characters.
    QString GetItem(const QString& section, const QString& key) const;

    // The default file below a suite root directory, in this platform's form.
    static QString defaultPath(const QString& localRootDir);
    // A path written with "\" separators in this platform's form.
    static QString nativePath(const QString& path);

private:
    QString path_;
};

} // namespace velora::shell
