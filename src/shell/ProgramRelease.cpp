#include "ProgramRelease.h"
#include "BuildInfo.h"

namespace velora::shell {

QString ProgramRelease::version() {
    return QStringLiteral(VELORA_VERSION);
}

QString ProgramRelease::releaseDate() {
    return QStringLiteral(VELORA_RELEASE_DATE);
}

} // namespace velora::shell
