#pragma once

#include "CLArguments.h"

#include <QString>
#include <QStringList>

namespace velora::shell {

// The switches given to the program ("/INI=path /UNAME=name ..."), parsed once when the
// object is created. A switch named twice makes creation fail with ShellError 457.
class CommandLine {
public:
    // argumentText: the whole text after the program path, as one string.
    explicit CommandLine(const QString& argumentText);

    // Rebuilds that text from the process's argument list as QCoreApplication::arguments()
    // delivers it (the first element, the program path, is skipped). Values that hold a
    // blank or a "/" are put back in double quotes, so a path such as /home/me/halvex.ini
    // stays one value instead of starting new switches, and a value given as the argument
    // after its switch stays with it (StartupSwitches::isValueOf).
    static CommandLine fromProcessArguments(const QStringList& arguments);
    static QString argumentText(const QStringList& arguments);

    const velora::shell::CLArguments& CLArguments() const { return arguments_; }

private:
    velora::shell::CLArguments arguments_;
};

} // namespace velora::shell
