#pragma once

#include "ProgramHelp.h"

#include <QCommandLineParser>
#include <QStringList>

class QTextStream;

namespace velora::cli {

// The command-line conventions every program shares, through Qt's parser: -h/--help prints
// the help text on standard output, -v/--version the name and version, and both end the
// program with status 0 before it does anything else. An unknown option before the first
// argument is a command-line error (status 2). Everything from the first argument that is not
// an option on is handed back untouched, so each program keeps its own grammar for it
// (subcommands with their options, or switches written /KEY=value).
class ProgramCommandLine {
public:
    enum class Outcome { Run, Help, Version, Error };

    static constexpr int kUsageStatus = 2;

    explicit ProgramCommandLine(const ProgramHelp& help);

    // arguments: as the process received them, the program path first.
    Outcome parse(const QStringList& arguments);
    // The arguments from the first one that is not an option on.
    QStringList rest() const { return parser_.positionalArguments(); }
    QString errorText() const { return parser_.errorText(); }

    // Prints what a Help, Version or Error outcome calls for and returns the exit status.
    int finish(Outcome outcome, QTextStream& out, QTextStream& err) const;

    static bool isHelpRequest(const QString& argument);
    // Whether the parse failed only on options that Qt's application object takes for
    // itself (-platform, -style, ...): a program with a window parses before the application
    // exists and leaves those to it.
    bool failedOnQtOptionsOnly() const;

private:
    const ProgramHelp& help_;
    QCommandLineParser parser_;
    QCommandLineOption helpOption_;
    QCommandLineOption versionOption_;
};

} // namespace velora::cli
