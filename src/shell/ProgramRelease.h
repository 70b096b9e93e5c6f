#pragma once

#include <QString>

namespace velora::shell {

// The release this program was built as: the version from the build's project version
// (major.minor.revision) and the release date (YYYY-MM-DD).
class ProgramRelease {
public:
    static QString version();
    static QString releaseDate();
};

} // namespace velora::shell
