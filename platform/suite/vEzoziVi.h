#pragma once

#include <QString>

namespace velora::suite {

// The suite's process launcher and its temporary folder. Shell starts a program and waits for
// its end while the calling window keeps painting (events are processed); the result is the
// program's exit code, or -1 when it could not be started or did not end normally.
class vEzoziVi {
public:
    int Shell(const QString& program, const QString& arguments);

    // The folder where suite programs exchange files: TEMP beside the SYSTEM folder that holds
    // the configuration file in use, otherwise a "velora" folder in the system's temporary
    // folder.
    static QString TempFolder(const QString& configurationPath);
};

} // namespace velora::suite
