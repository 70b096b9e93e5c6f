// velora-engine: the formula compiler, the evaluator and the update engine from the command
// line.

#include "EngineCommands.h"
#include "ProgramCommandLine.h"
#include "ProgramVersion.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

velora::cli::ProgramHelp programHelp() {
    velora::cli::ProgramHelp help(QStringLiteral("velora-engine"),
                                  QStringLiteral(VELORA_PROGRAM_VERSION),
                                  QStringLiteral("check, evaluate and recalculate Velora "
                                                 "Incentive formulas"));
    help.usage(QStringLiteral("check FORMULA-FILE"))
        .usage(QStringLiteral("eval DB FORMULA-FILE --user ID --account ID --date YYYY-MM-DD"))
        .usage(QStringLiteral("recalc DB [--filter SQL] [--from YYYY-MM-DD] [--to YYYY-MM-DD]"))
        .usage(QStringLiteral("serve-queue DB [--once] [--interval SECONDS] [--stale SECONDS] "
                              "[--busy-timeout MS]"));
    help.paragraph(QStringLiteral(
        "The update engine the program uses, on an embedded (SQLite) database. Errors go to\n"
        "standard error: a formula's as number, line and description separated by tabs, the\n"
        "database's as \"Error <number>: <description>\"."));
    help.section(
        QStringLiteral("Commands"),
        {{QStringLiteral("check FORMULA-FILE"),
          QStringLiteral("Compiles a formula text and prints OK, or its first error.")},
         {QStringLiteral("eval DB FORMULA-FILE --user ID --account ID --date YYYY-MM-DD"),
          QStringLiteral("Evaluates a formula for one user, account and day and prints the "
                         "IHours=, ILines= and IPay= lines.")},
         {QStringLiteral("recalc DB [--filter SQL] [--from YYYY-MM-DD] [--to YYYY-MM-DD]"),
          QStringLiteral("Recalculates the unlocked production rows of the users the filter "
                         "selects between the two days,\nwith a progress line.")},
         {QStringLiteral("serve-queue DB [options]"),
          QStringLiteral("Computes the recalculation requests that workstations with local "
                         "updates disabled queue in\nthe database; --once stops when the queue "
                         "is empty, --interval is the pause while it is,\n--stale the age after "
                         "which a claimed request is taken over, --busy-timeout the wait for\n"
                         "a locked database.")}});
    help.exitStatus(0, QStringLiteral("The command did what it was asked."));
    help.exitStatus(1, QStringLiteral("A formula did not compile or failed, a row could not be "
                                      "recalculated, or the database failed."));
    help.exitStatus(2, QStringLiteral("The command line could not be used; nothing was done."));
    return help;
}

int usage() {
    QTextStream(stderr) << "usage:\n"
                           "  velora-engine check FORMULA-FILE\n"
                           "  velora-engine eval DB FORMULA-FILE --user ID --account ID --date "
                           "YYYY-MM-DD\n"
                           "  velora-engine recalc DB [--filter SQL] [--from YYYY-MM-DD] [--to "
                           "YYYY-MM-DD]\n"
                           "  velora-engine serve-queue DB [--once] [--interval SECONDS] "
                           "[--stale SECONDS]\n"
                           "                               [--busy-timeout MS]\n"
                           "Try \"velora-engine --help\".\n";
    return velora::cli::ProgramCommandLine::kUsageStatus;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const velora::cli::ProgramHelp help = programHelp();
    velora::cli::ProgramCommandLine commandLine(help);
    const auto outcome = commandLine.parse(QCoreApplication::arguments());
    if (outcome != velora::cli::ProgramCommandLine::Outcome::Run)
        return commandLine.finish(outcome, out, err);

    QStringList args = commandLine.rest();
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (!args.isEmpty() && velora::cli::ProgramCommandLine::isHelpRequest(args.first()))
        return commandLine.finish(velora::cli::ProgramCommandLine::Outcome::Help, out, err);
    using Command = int (*)(const QStringList&);
    struct Entry {
        const char* name;
        Command run;
        qsizetype arguments; // files before the options
    };
    static constexpr Entry kCommands[] = {
        {"check", velora::tools::checkCommand, 1},
        {"eval", velora::tools::evalCommand, 2},
        {"recalc", velora::tools::recalcCommand, 1},
        {"serve-queue", velora::tools::serveQueueCommand, 1},
    };
    for (const Entry& entry : kCommands) {
        if (command != QLatin1String(entry.name))
            continue;
        // The commands themselves are quiet about a missing file or database; say so here.
        if (args.size() < entry.arguments) {
            err << "velora-engine " << command << ": expects " << entry.arguments
                << " file argument(s)\n"
                << Qt::flush;
            return usage();
        }
        return entry.run(args);
    }
    err << "velora-engine: unknown command \"" << command << "\"\n" << Qt::flush;
    return usage();
}
