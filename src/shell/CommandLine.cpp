#include "CommandLine.h"

#include "StartupSwitches.h"

namespace velora::shell {

namespace {

constexpr qsizetype kBareNameLength = 256;

// Blanks are spaces only: a tab is an ordinary character of a switch.
QString trimBlanks(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.mid(start, end - start);
}

// Splits a token "/name=value", "/name value" or "/name" (the first character is taken to be
// the slash) and adds it. Only the last token of the line keeps the blanks of its value.
void addToken(CLArguments& arguments, const QString& token, bool trimValue) {
    QString name;
    QString value;
    const qsizetype equals = token.indexOf(u'=');
    const qsizetype blank = token.indexOf(u' ', 1);
    if (equals >= 2) {
        name = token.mid(1, equals - 1);
        value = token.mid(equals + 1);
    } else if (blank >= 1) {
        name = token.mid(1, blank - 1);
        value = token.mid(blank + 1);
    } else {
        arguments.AddBare(token.mid(1, kBareNameLength));
        return;
    }
    arguments.Add(name, trimValue ? trimBlanks(value) : value);
}

// Double quotes only protect "/" characters; they never reach a name or a value.
void parse(CLArguments& arguments, const QString& argumentText) {
    const QString text = trimBlanks(argumentText);
    QString token;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            quoted = !quoted;
        } else if (c == u'/' && !quoted) {
            if (i == text.size() - 1)
                continue; // a slash closing the line starts nothing
            if (!trimBlanks(token).isEmpty())
                addToken(arguments, token, true);
            token = QStringLiteral("/");
        } else {
            token.append(c);
        }
    }
    if (!trimBlanks(token).isEmpty())
        addToken(arguments, token, false);
}

QString quotedIfNeeded(const QString& text) {
    if (text.contains(u' ') || text.contains(u'/'))
        return u'"' + text + u'"';
    return text;
}

// A switch written without "=" or blank: "/INI", "/DisableLocalUpdates".
bool isBareSwitch(const QString& argument) {
    return argument.size() > 1 && argument.startsWith(u'/') && argument.indexOf(u'=') < 2 &&
           argument.indexOf(u' ', 1) < 0;
}

// One argument as it would appear in the raw command line: a switch keeps its name bare and
// gets its value quoted when needed; any other argument is quoted whole.
QString rawArgument(const QString& argument) {
    if (!argument.startsWith(u'/'))
        return quotedIfNeeded(argument);
    const qsizetype equals = argument.indexOf(u'=');
    const qsizetype blank = argument.indexOf(u' ', 1);
    const qsizetype separator = equals >= 2 ? equals : blank;
    if (separator < 1)
        return argument;
    return argument.left(separator + 1) + quotedIfNeeded(argument.mid(separator + 1));
}

// A bare switch of the process's argument list and what belongs to it: the next argument when
// that is its value ("/INI" "/home/me/HALVEX.INI"), otherwise nothing. A bare flag is "TRUE"
// wherever it stands; a bare switch that needs a value stays bare, so that the missing value
// shows. Returns how many arguments were used.
int rawBareSwitch(const QStringList& arguments, qsizetype i, QStringList& raw) {
    const QString name = arguments[i].mid(1);
    if (i + 1 < arguments.size() && StartupSwitches::isValueOf(name, arguments[i + 1])) {
        raw.append(arguments[i] + u'=' + quotedIfNeeded(arguments[i + 1]));
        return 2;
    }
    raw.append(StartupSwitches::takesValue(name) ? arguments[i]
                                                 : arguments[i] + QStringLiteral("=TRUE"));
    return 1;
}

} // namespace

CommandLine::CommandLine(const QString& argumentText) {
    parse(arguments_, argumentText);
}

QString CommandLine::argumentText(const QStringList& arguments) {
    QStringList raw;
    for (qsizetype i = 1; i < arguments.size();) {
        if (isBareSwitch(arguments[i])) {
            i += rawBareSwitch(arguments, i, raw);
        } else {
            raw.append(rawArgument(arguments[i]));
            ++i;
        }
    }
    return raw.join(u' ');
}

CommandLine CommandLine::fromProcessArguments(const QStringList& arguments) {
    return CommandLine(argumentText(arguments));
}

} // namespace velora::shell
