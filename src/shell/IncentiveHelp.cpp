#include "IncentiveHelp.h"

#include "ProgramVersion.h"

namespace velora::shell {

cli::ProgramHelp incentiveHelp() {
    cli::ProgramHelp help(QStringLiteral("velora-incentive"),
                          QStringLiteral(VELORA_PROGRAM_VERSION),
                          QStringLiteral("incentive-pay administration for medical "
                                         "transcription"));
    help.usage(QStringLiteral("[/INI=<file>] [/UNAME=<user> /PASSWORD=<password>] "
                              "[/DisableLocalUpdates]"));
    help.paragraph(QStringLiteral(
        "Shows each transcriptionist's daily production week by week, with corrections,\n"
        "formulas, groups and recalculation of the incentive values. It finds the suite's\n"
        "configuration file HALVEX/SYSTEM/HALVEX.INI below the folder that the registry value\n"
        "LocalRootDir names, logs in and opens the database the file names."));
    help.paragraph(QStringLiteral(
        "Switches are written /KEY=value, /KEY value or /KEY; their names ignore case."));
    help.section(
        QStringLiteral("Switches"),
        {{QStringLiteral("/INI=<file>"),
          QStringLiteral("The configuration file to use instead of the one the registry "
                         "leads to.")},
         {QStringLiteral("/UNAME=<user> /PASSWORD=<password>"),
          QStringLiteral("Logs in as this user without the login dialog.")},
         {QStringLiteral("/DisableLocalUpdates"),
          QStringLiteral("Queues recalculations in the database for velora-engine serve-queue "
                         "instead of computing\nthem here.")}});
    help.section(
        QStringLiteral("Environment"),
        {{QStringLiteral("VELORA_REGISTRY"),
          QStringLiteral("The registry file (INI form) to read instead of "
                         "$XDG_CONFIG_HOME/velora/registry.ini;\nvelora-admin demo writes one "
                         "for its installation.")},
         {QStringLiteral("VELORA_LOCALE"),
          QStringLiteral("The locale of dates and numbers (for example en_US) instead of the "
                         "system's.")},
         {QStringLiteral("XDG_STATE_HOME"),
          QStringLiteral("Every error shown in a message box is also appended, with its number "
                         "and time, to\n$XDG_STATE_HOME/velora/velora.log "
                         "(~/.local/state/velora/velora.log when it is not set).")}});
    help.exitStatus(0, QStringLiteral("The program was closed."));
    help.exitStatus(1, QStringLiteral("Start-up failed (the login was refused, or the "
                                      "configuration or the database could not be used); the "
                                      "reason was shown and logged."));
    help.exitStatus(2, QStringLiteral("The command line could not be used."));
    return help;
}

} // namespace velora::shell
