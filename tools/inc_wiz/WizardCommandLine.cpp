#include "WizardCommandLine.h"

#include <QList>

namespace velora::wizard {

namespace {

const QStringList kKeys{QStringLiteral("INI"), QStringLiteral("UNAME"), QStringLiteral("PASSWORD"),
                        QStringLiteral("SCRIPT")};

struct SwitchAt {
    qsizetype start;      // the "/"
    qsizetype valueStart; // after the "="
    QString key;
};

// The known switches in the text: "/KEY=" at the very start or after a blank.
QList<SwitchAt> findSwitches(const QString& text) {
    QList<SwitchAt> found;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('/') || (i > 0 && text[i - 1] != QLatin1Char(' ')))
            continue;
        for (const QString& key : kKeys) {
            const QString marker = key + QLatin1Char('=');
            if (QStringView(text).mid(i + 1, marker.size()).compare(marker, Qt::CaseInsensitive) ==
                0) {
                found.append({i, i + 1 + marker.size(), key});
                break;
            }
        }
    }
    return found;
}

} // namespace

WizardCommandLine WizardCommandLine::fromArguments(const QStringList& arguments) {
    WizardCommandLine commandLine(arguments.join(QLatin1Char(' ')));
    // The main window passes only the login; an answers file named in the environment lets a
    // site's scripts (and the hand-off's own tests) finish a wizard the window started.
    if (commandLine.script_.isEmpty())
        commandLine.script_ = qEnvironmentVariable(kScriptVariable).trimmed();
    return commandLine;
}

WizardCommandLine::WizardCommandLine(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed == QLatin1String("--help") || trimmed == QLatin1String("/?") ||
        trimmed == QLatin1String("-h")) {
        help_ = true;
        return;
    }
    const QList<SwitchAt> switches = findSwitches(text);
    const qsizetype firstStart = switches.isEmpty() ? text.size() : switches.first().start;
    if (!text.left(firstStart).trimmed().isEmpty()) {
        problem_ = QStringLiteral("Unknown argument \"%1\".").arg(text.left(firstStart).trimmed());
        return;
    }
    for (qsizetype i = 0; i < switches.size(); ++i) {
        // The blank in front of the next switch belongs to neither value.
        const qsizetype end = i + 1 < switches.size() ? switches[i + 1].start - 1 : text.size();
        take(switches[i].key, text.mid(switches[i].valueStart, end - switches[i].valueStart));
    }
    if (problem_.isEmpty() && ini_.isEmpty())
        problem_ = QStringLiteral("The switch /INI=<configuration file> is missing.");
}

void WizardCommandLine::take(const QString& key, const QString& value) {
    if (seen_.contains(key)) {
        problem_ = QStringLiteral("The switch /%1 is given more than once.").arg(key);
        return;
    }
    seen_.append(key);
    if (key == QLatin1String("INI"))
        ini_ = value.trimmed();
    else if (key == QLatin1String("UNAME"))
        userName_ = value;
    else if (key == QLatin1String("PASSWORD"))
        password_ = value;
    else
        script_ = value.trimmed();
}

QString WizardCommandLine::usage() {
    return QStringLiteral(
        "usage: inc_wiz /INI=<configuration file> /UNAME=<user> /PASSWORD=<password> "
        "[/SCRIPT=<answers file>]\n"
        "\n"
        "The incentive formula wizard. It logs in to the database the configuration file\n"
        "names, helps compose a formula, and on Finish writes FORMULA.TXT to the suite's\n"
        "temporary folder (the TEMP folder beside the SYSTEM folder holding the configuration\n"
        "file, else a \"velora\" folder in the system's temporary folder). Values are not\n"
        "quoted; a value runs to the blank before the next switch. Exit code 0 after Finish,\n"
        "1 after Cancel, 2 for a command line or configuration that cannot be used, 3 when\n"
        "the login fails, 4 when an answers file is refused.\n"
        "\n"
        "/SCRIPT names an answers file that fills the pages and finishes without questions:\n"
        "one key=value a line, '#' starts a comment line. Numbers are typed as on the pages\n"
        "(regional form).\n"
        "  shape=line-rate | tiered | standard | monthly-bonus | account-rates | minimum\n"
        "  rate=0.08               rate per line (above the standard; default for accounts;\n"
        "                          base of the bonus; before the guarantee)\n"
        "  band=1000:0.07          tiered: a band's upper limit and its rate (one line per band)\n"
        "  lastrate=0.09           tiered: the rate past the last band\n"
        "  standard=150            production standard, lines per hour\n"
        "  threshold=30000         monthly bonus: the month's lines before the bonus\n"
        "  bonus=0.02              monthly bonus: the rate on top past the threshold\n"
        "  account=12:0.09         an account id with its own rate (one line per account)\n"
        "  minimum=10              minimum guarantee per hour worked\n"
        "  lines=true | char       true lines or character lines\n"
        "  hours=typed | system    typed hours or system hours\n"
        "  name=Tiered 2027        the new formula's name\n"
        "  finish=yes | no         no: go through the pages, then cancel\n"
        "\n"
        "Without /SCRIPT, the answers file named by the environment variable INC_WIZ_SCRIPT\n"
        "is used, if it is set.\n");
}

} // namespace velora::wizard
