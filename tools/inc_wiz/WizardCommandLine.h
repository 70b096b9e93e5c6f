#pragma once

#include <QString>
#include <QStringList>

namespace velora::wizard {

// The wizard's command line as the main window passes it:
//   /INI=<file> /UNAME=<name> /PASSWORD=<password> [/SCRIPT=<answers file>]
// Values are not quoted, so a value runs from its "=" to the blank in front of the next known
// switch ("/INI=/srv/my suite/HALVEX.INI /UNAME=x" gives the path with its blank). Switch
// names ignore case. --help (or /?) asks for the usage text.
class WizardCommandLine {
public:
    // The arguments after the program name, joined again with single blanks, are the text;
    // the answers file may also come from the environment (kScriptVariable).
    static WizardCommandLine fromArguments(const QStringList& arguments);
    explicit WizardCommandLine(const QString& text);

    QString ini() const { return ini_; }
    QString userName() const { return userName_; }
    QString password() const { return password_; }
    QString script() const { return script_; }
    bool helpWanted() const { return help_; }
    // Why the command line cannot be used ("" when it can).
    QString problem() const { return problem_; }

    static QString usage();

    // Names the answers file when the command line does not.
    static constexpr const char* kScriptVariable = "INC_WIZ_SCRIPT";

private:
    void take(const QString& key, const QString& value);

    QString ini_;
    QString userName_;
    QString password_;
    QString script_;
    bool help_ = false;
    QString problem_;
    QStringList seen_;
};

} // namespace velora::wizard
