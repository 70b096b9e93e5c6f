#include "ConnectionString.h"

#include <QDir>
#include <QFileInfo>

namespace velora::db {

ConnectionString ConnectionString::parse(const QString& text) {
    ConnectionString result;
    result.original_ = text;
    const QStringList parts = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = part.left(eq).trimmed().toUpper();
        if (!result.pairs_.contains(key))
            result.pairs_.insert(key, part.mid(eq + 1).trimmed());
    }
    return result;
}

QString ConnectionString::value(const QString& key) const {
    return pairs_.value(key.trimmed().toUpper());
}

bool ConnectionString::contains(const QString& key) const {
    return pairs_.contains(key.trimmed().toUpper());
}

bool ConnectionString::isEmbedded() const {
    return value(QStringLiteral("Data Source"))
               .compare(QStringLiteral("(embedded)"), Qt::CaseInsensitive) == 0;
}

QString ConnectionString::embeddedDatabasePath(const QString& baseDirectory) const {
    QString file = value(QStringLiteral("Initial Catalog"));
    file.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (file.isEmpty() || QFileInfo(file).isAbsolute() || baseDirectory.isEmpty())
        return file;
    return QDir(baseDirectory).filePath(file);
}

QString ConnectionString::odbcConnectionText(const QString& driver) const {
    const QString user = value(QStringLiteral("User ID"));
    const QString password = contains(QStringLiteral("PWD")) ? value(QStringLiteral("PWD"))
                                                             : value(QStringLiteral("Password"));
    const QString app = value(QStringLiteral("APP"));
    QString text;
    if (contains(QStringLiteral("DSN"))) {
        text = QStringLiteral("DSN=") + value(QStringLiteral("DSN"));
    } else {
        text = QStringLiteral("DRIVER={") + driver + QStringLiteral("};SERVER=") +
               value(QStringLiteral("Data Source")) + QStringLiteral(";DATABASE=") +
               value(QStringLiteral("Initial Catalog"));
    }
    text += QStringLiteral(";UID=") + user + QStringLiteral(";PWD=") + password;
    if (!app.isEmpty())
        text += QStringLiteral(";APP=") + app;
    return text;
}

} // namespace velora::db
