#include "ErrorLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace velora::common {

QString ErrorLog::defaultPath() {
#ifdef Q_OS_WIN
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .filePath(QStringLiteral("velora.log"));
#else
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::home().filePath(QStringLiteral(".local/state"));
    return QDir(state).filePath(QStringLiteral("velora/velora.log"));
#endif
}

std::optional<qint64> ErrorLog::errorNumber(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral(R"(\bError(?: Number)?\s*:?\s*(-?\d+))"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    const qint64 number = match.captured(1).toLongLong(&ok);
    return ok ? std::optional<qint64>(number) : std::nullopt;
}

QString ErrorLog::line(const QDateTime& at, const QString& title, const QString& text) {
    const std::optional<qint64> number = errorNumber(text);
    QString flat = text;
    flat.replace(QStringLiteral("\r\n"), QStringLiteral(" | "));
    flat.replace(QLatin1Char('\n'), QStringLiteral(" | "));
    flat.replace(QLatin1Char('\r'), QStringLiteral(" | "));
    flat.replace(QLatin1Char('\t'), QLatin1Char(' '));
    const QString numberField =
        number ? QStringLiteral("Error %1").arg(*number) : QStringLiteral("Error");
    return at.toOffsetFromUtc(at.offsetFromUtc()).toString(Qt::ISODateWithMs) + QLatin1Char('\t') +
           numberField + QLatin1Char('\t') + title + QLatin1Char('\t') + flat + QLatin1Char('\n');
}

void ErrorLog::rotateIfLarge() const {
    if (QFileInfo(path_).size() < kRotateBytes)
        return;
    const QString previous = path_ + QStringLiteral(".1");
    QFile::remove(previous);
    QFile::rename(path_, previous);
}

bool ErrorLog::append(const QDateTime& at, const QString& title, const QString& text) const {
    if (!QDir().mkpath(QFileInfo(path_).absolutePath()))
        return false;
    rotateIfLarge();
    QFile file(path_);
    const bool isNew = !file.exists();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    if (isNew)
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray bytes = line(at, title, text).toUtf8();
    return file.write(bytes) == bytes.size();
}

} // namespace velora::common
