#include "EngineCommands.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

int usage() {
    QTextStream(stderr)
        << "usage:\n"
           "  velora-engine check FORMULA-FILE\n"
           "  velora-engine eval DB FORMULA-FILE --user ID --account ID --date YYYY-MM-DD\n"
           "  velora-engine recalc DB [--filter SQL] [--from YYYY-MM-DD] [--to YYYY-MM-DD]\n"
           "  velora-engine serve-queue DB [--once] [--interval SECONDS] [--stale SECONDS]\n"
           "                               [--busy-timeout MS]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("check"))
        return velora::tools::checkCommand(args);
    if (command == QLatin1String("eval"))
        return velora::tools::evalCommand(args);
    if (command == QLatin1String("recalc"))
        return velora::tools::recalcCommand(args);
    if (command == QLatin1String("serve-queue"))
        return velora::tools::serveQueueCommand(args);
    return usage();
}
