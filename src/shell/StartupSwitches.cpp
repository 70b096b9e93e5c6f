#include "StartupSwitches.h"

#include "CLArguments.h"
#include "ShellError.h"

#include <QStringList>

namespace velora::shell {

namespace {

const QStringList& valueSwitches() {
    static const QStringList names{QStringLiteral("INI"), QStringLiteral("UNAME"),
                                   QStringLiteral("PASSWORD")};
    return names;
}

QString example(const QString& name) {
    if (name == QLatin1String("INI"))
        return QStringLiteral("/INI=/path/to/HALVEX.INI or /INI /path/to/HALVEX.INI");
    if (name == QLatin1String("UNAME"))
        return QStringLiteral("/UNAME=name");
    return QStringLiteral("/PASSWORD=password");
}

} // namespace

bool StartupSwitches::takesValue(const QString& name) {
    return valueSwitches().contains(name, Qt::CaseInsensitive);
}

bool StartupSwitches::isProgramSwitch(const QString& argument) {
    if (!argument.startsWith(u'/'))
        return false;
    qsizetype end = 1;
    while (end < argument.size() && argument[end] != u'=' && argument[end] != u' ')
        ++end;
    const QString name = argument.mid(1, end - 1);
    return takesValue(name) ||
           name.compare(QLatin1String("DisableLocalUpdates"), Qt::CaseInsensitive) == 0;
}

bool StartupSwitches::isValueOf(const QString& name, const QString& next) {
    if (takesValue(name))
        return !isProgramSwitch(next);
    return !next.startsWith(u'/');
}

void StartupSwitches::requireValues(const CLArguments& arguments) {
    for (const QString& name : valueSwitches()) {
        const CLArgument argument = arguments.Item(name);
        if (argument.Exists() && (!argument.HasValue() || argument.value().trimmed().isEmpty()))
            throw ShellError(
                ShellErrorNumber::InvalidArgument,
                QStringLiteral("The switch /%1 needs a value, as in %2.").arg(name, example(name)));
    }
}

} // namespace velora::shell
