#include "WizardHelp.h"

#include "ProgramVersion.h"

namespace velora::wizard {

cli::ProgramHelp wizardHelp() {
    cli::ProgramHelp help(QStringLiteral("inc_wiz"), QStringLiteral(VELORA_PROGRAM_VERSION),
                          QStringLiteral("the Velora Incentive formula wizard"));
    help.usage(QStringLiteral(
        "/INI=<configuration file> /UNAME=<user> /PASSWORD=<password> [/SCRIPT=<answers file>]"));
    help.paragraph(QStringLiteral(
        "Logs in to the database the configuration file names, helps compose a formula, and on\n"
        "Finish writes FORMULA.TXT to the suite's temporary folder (the TEMP folder beside the\n"
        "SYSTEM folder holding the configuration file, else a \"velora\" folder in the system's\n"
        "temporary folder). The program offers it on File > Create Formula."));
    help.paragraph(QStringLiteral(
        "Values are not quoted; a value runs to the blank before the next switch. Switch names\n"
        "ignore case."));
    help.section(
        QStringLiteral("Switches"),
        {{QStringLiteral("/INI=<configuration file>"),
          QStringLiteral("The suite's configuration file (HALVEX.INI); required.")},
         {QStringLiteral("/UNAME=<user> /PASSWORD=<password>"),
          QStringLiteral("The login the wizard uses.")},
         {QStringLiteral("/SCRIPT=<answers file>"),
          QStringLiteral(
              "Fills the pages from an answers file and finishes without questions: one "
              "key=value a line,\n'#' starts a comment line. Numbers are typed as on the pages "
              "(regional form).\n"
              "        shape=line-rate | tiered | standard | monthly-bonus | account-rates | "
              "minimum\n"
              "        rate=0.08               rate per line (above the standard; default for "
              "accounts;\n"
              "                                base of the bonus; before the guarantee)\n"
              "        band=1000:0.07          tiered: a band's upper limit and its rate (one "
              "line per band)\n"
              "        lastrate=0.09           tiered: the rate past the last band\n"
              "        standard=150            production standard, lines per hour\n"
              "        threshold=30000         monthly bonus: the month's lines before the "
              "bonus\n"
              "        bonus=0.02              monthly bonus: the rate on top past the "
              "threshold\n"
              "        account=12:0.09         an account id with its own rate (one line per "
              "account)\n"
              "        minimum=10              minimum guarantee per hour worked\n"
              "        lines=true | char       true lines or character lines\n"
              "        hours=typed | system    typed hours or system hours\n"
              "        name=Tiered 2027        the new formula's name\n"
              "        finish=yes | no         no: go through the pages, then cancel")}});
    help.section(QStringLiteral("Environment"),
                 {{QStringLiteral("INC_WIZ_SCRIPT"),
                   QStringLiteral("The answers file used when /SCRIPT is not given: a wizard the "
                                  "program starts\nthen finishes from it.")}});
    help.exitStatus(0, QStringLiteral("Finished: the exchange file is written."));
    help.exitStatus(1, QStringLiteral("Cancelled."));
    help.exitStatus(2, QStringLiteral("The command line or the configuration cannot be used."));
    help.exitStatus(3, QStringLiteral("The login failed."));
    help.exitStatus(4, QStringLiteral("An answers file was refused."));
    return help;
}

} // namespace velora::wizard
