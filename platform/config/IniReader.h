#pragma once

#include <QString>
#include <QStringView>
#include <functional>
#include <optional>

namespace velora::config {

// The line grammar shared by the private-profile reader and the registry file: "[section]"
// headers, "key=value" lines, ';' comment lines, blanks around names and values ignored.
// Like the Windows reader, only the first section with a matching name is searched and the
// first matching key in it wins.
class IniReader {
public:
    using SectionMatcher = std::function<bool(QStringView sectionName)>;

    // The trimmed value of key (compared without regard to case) in the first section that
    // sectionMatches accepts; nullopt when the section or the key is missing.
    static std::optional<QString> find(QStringView text, const SectionMatcher& sectionMatches,
                                       QStringView key);

    // The whole file as text, "" when it cannot be read. A byte-order mark selects the
    // encoding; without one the text is UTF-8, or Latin-1 when it is not valid UTF-8 (files
    // written by Windows tools).
    static QString readFile(const QString& path);
};

} // namespace velora::config
