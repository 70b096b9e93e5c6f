#include "WizardCommandLine.h"

#include "WizardHelp.h"

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
    return wizardHelp().text();
}

} // namespace velora::wizard
