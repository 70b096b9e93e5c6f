#include "Registry.h"

#include "IniReader.h"

#include <QDir>
#include <QRegularExpression>
#include <optional>

namespace velora::config {

namespace {

QString normalisedKeyPath(QStringView path) {
    QString normalised = path.trimmed().toString();
    normalised.replace(u'/', u'\\');
    while (normalised.endsWith(u'\\'))
        normalised.chop(1);
    return normalised;
}

bool isTypedValue(const QString& value) {
    static const QRegularExpression typed(QStringLiteral("^(dword|qword|hex(\\([0-9a-f]+\\))?):"),
                                          QRegularExpression::CaseInsensitiveOption);
    return typed.match(value).hasMatch();
}

// The text of a string value as stored; nullopt for a value of any other type.
std::optional<QString> stringValue(const QString& stored) {
    if (stored.size() >= 2 && stored.front() == u'"' && stored.back() == u'"')
        return stored.mid(1, stored.size() - 2);
    if (isTypedValue(stored))
        return std::nullopt;
    return stored;
}

QString configDirectory() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    // XDG base directories must be absolute; a relative value is ignored.
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + QStringLiteral("/.config");
}

} // namespace

Registry::Registry(QString localMachineFile, QString currentUserFile)
    : localMachineFile_(std::move(localMachineFile))
    , currentUserFile_(std::move(currentUserFile)) {}

Registry Registry::fromEnvironment() {
    const QString single = qEnvironmentVariable("VELORA_REGISTRY");
    if (!single.isEmpty())
        return Registry(single, single);
    const QString directory = configDirectory() + QStringLiteral("/velora/");
    return Registry(directory + QStringLiteral("registry.ini"),
                    directory + QStringLiteral("registry-user.ini"));
}

const QString& Registry::file(Root root) const {
    return root == Root::LocalMachine ? localMachineFile_ : currentUserFile_;
}

QString Registry::readString(Root root, const QString& keyPath, const QString& valueName) const {
    const QString wantedKey = normalisedKeyPath(keyPath);
    const QString name = valueName.isEmpty() ? QStringLiteral("@") : valueName;
    const auto stored = IniReader::find(
        IniReader::readFile(file(root)),
        [&wantedKey](QStringView section) {
            return normalisedKeyPath(section).compare(wantedKey, Qt::CaseInsensitive) == 0;
        },
        name);
    if (!stored)
        return {};
    const auto text = stringValue(*stored);
    if (!text || text->size() >= kBufferLength)
        return {};
    return *text;
}

} // namespace velora::config
