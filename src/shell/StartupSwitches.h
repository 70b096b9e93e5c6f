#pragma once

#include <QString>

namespace velora::shell {

class CLArguments;

// The switches the program itself understands: INI, UNAME and PASSWORD carry a value,
// DisableLocalUpdates is a flag. Names compare without regard to case.
class StartupSwitches {
public:
    // True for INI, UNAME and PASSWORD.
    static bool takesValue(const QString& name);
    // True when argument is one of the program's switches as written ("/UNAME=jo", "/ini",
    // "/DisableLocalUpdates"): a "/" and a known name, ended by "=", a blank or the end.
    static bool isProgramSwitch(const QString& argument);
    // Whether the process argument `next` is the value of the bare switch `name` before it. A
    // switch that takes a value keeps whatever follows it unless that is another of the
    // program's switches, so "/INI /home/me/HALVEX.INI" names a file; any other switch keeps
    // only what does not begin with "/".
    static bool isValueOf(const QString& name, const QString& next);

    // Throws ShellError (5) naming the switch when INI, UNAME or PASSWORD is given without a
    // value, so that a mistyped command line never quietly falls back to the default
    // configuration or the login dialog.
    static void requireValues(const CLArguments& arguments);
};

} // namespace velora::shell
