#include "ProgramCommandLine.h"

#include <QTextStream>

namespace velora::cli {

ProgramCommandLine::ProgramCommandLine(const ProgramHelp& help)
    : help_(help)
    , helpOption_(QStringList{QStringLiteral("h"), QStringLiteral("help")})
    , versionOption_(QStringList{QStringLiteral("v"), QStringLiteral("version")}) {
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser_.addOption(helpOption_);
    parser_.addOption(versionOption_);
}

ProgramCommandLine::Outcome ProgramCommandLine::parse(const QStringList& arguments) {
    if (!parser_.parse(arguments))
        return Outcome::Error;
    if (parser_.isSet(helpOption_))
        return Outcome::Help;
    if (parser_.isSet(versionOption_))
        return Outcome::Version;
    return Outcome::Run;
}

int ProgramCommandLine::finish(Outcome outcome, QTextStream& out, QTextStream& err) const {
    switch (outcome) {
    case Outcome::Help:
        out << help_.text() << Qt::flush;
        return 0;
    case Outcome::Version:
        out << help_.versionLine() << '\n' << Qt::flush;
        return 0;
    case Outcome::Error:
        err << help_.program() << ": " << parser_.errorText() << '\n'
            << "Try \"" << help_.program() << " --help\".\n"
            << Qt::flush;
        return kUsageStatus;
    case Outcome::Run:
        break;
    }
    return 0;
}

bool ProgramCommandLine::failedOnQtOptionsOnly() const {
    static const QStringList kQtOptions{
        QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
        QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"),
        QStringLiteral("qwindowtitle"),    QStringLiteral("reverse"),
        QStringLiteral("session"),         QStringLiteral("style"),
        QStringLiteral("stylesheet"),      QStringLiteral("widgetcount"),
        QStringLiteral("display"),         QStringLiteral("geometry"),
        QStringLiteral("title"),           QStringLiteral("name"),
        QStringLiteral("visual"),          QStringLiteral("nograb"),
        QStringLiteral("dograb"),          QStringLiteral("sync")};
    const QStringList unknown = parser_.unknownOptionNames();
    if (unknown.isEmpty())
        return false;
    for (const QString& name : unknown) {
        if (!kQtOptions.contains(name))
            return false;
    }
    return true;
}

bool ProgramCommandLine::isHelpRequest(const QString& argument) {
    return argument == QLatin1String("--help") || argument == QLatin1String("-h");
}

} // namespace velora::cli
