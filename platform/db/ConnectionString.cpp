#include "ConnectionString.h"

#include <QDir>
#include <QFileInfo>

namespace velora::db {

namespace {

bool needsEnclosing(const QString& value, const QString& specials) {
    if (value.isEmpty())
        return false;
    for (const QChar c : specials) {
        if (value.contains(c))
            return true;
    }
    return value.front().isSpace() || value.back().isSpace() || value.front() == u'"' ||
           value.front() == u'\'' || value.front() == u'{';
}

// A value for an ODBC connection text: in braces with "}" doubled when it needs them.
QString odbcValue(const QString& value) {
    if (!needsEnclosing(value, QStringLiteral(";{}")))
        return value;
    return u'{' + QString(value).replace(u'}', QStringLiteral("}}")) + u'}';
}

// The text between an opening quote or brace at `open` and its closing partner, with doubled
// closers taken as one; `end` is set past the closer (or to the end of an unclosed value).
QString enclosed(const QString& text, qsizetype open, QChar closer, qsizetype& end) {
    QString value;
    qsizetype i = open + 1;
    while (i < text.size()) {
        if (text[i] == closer) {
            if (i + 1 < text.size() && text[i + 1] == closer) {
                value += closer;
                i += 2;
                continue;
            }
            end = i + 1;
            return value;
        }
        value += text[i++];
    }
    end = text.size();
    return value;
}

} // namespace

qsizetype ConnectionString::readValue(const QString& text, qsizetype from, QString& value) {
    qsizetype start = from;
    while (start < text.size() && text[start].isSpace())
        ++start;
    const QChar first = start < text.size() ? text[start] : QChar();
    if (first == u'"' || first == u'\'' || first == u'{') {
        qsizetype end = start;
        value = enclosed(text, start, first == u'{' ? QChar(u'}') : first, end);
        const qsizetype semicolon = text.indexOf(u';', end);
        return semicolon < 0 ? text.size() : semicolon;
    }
    const qsizetype semicolon = text.indexOf(u';', from);
    const qsizetype end = semicolon < 0 ? text.size() : semicolon;
    value = text.mid(from, end - from).trimmed();
    return end;
}

ConnectionString ConnectionString::parse(const QString& text) {
    ConnectionString result;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype equals = text.indexOf(u'=', i);
        const qsizetype semicolon = text.indexOf(u';', i);
        if (equals < 0)
            break;
        if (semicolon >= 0 && semicolon < equals) { // a part without a value
            i = semicolon + 1;
            continue;
        }
        const QString key = text.mid(i, equals - i).trimmed().toUpper();
        QString value;
        i = readValue(text, equals + 1, value) + 1;
        if (!key.isEmpty() && !result.pairs_.contains(key))
            result.pairs_.insert(key, value);
    }
    return result;
}

QString ConnectionString::quoted(const QString& value) {
    if (!needsEnclosing(value, QStringLiteral(";")))
        return value;
    return u'"' + QString(value).replace(u'"', QStringLiteral("\"\"")) + u'"';
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
        text = QStringLiteral("DSN=") + odbcValue(value(QStringLiteral("DSN")));
    } else {
        text = QStringLiteral("DRIVER={") + QString(driver).replace(u'}', QStringLiteral("}}")) +
               QStringLiteral("};SERVER=") + odbcValue(value(QStringLiteral("Data Source"))) +
               QStringLiteral(";DATABASE=") + odbcValue(value(QStringLiteral("Initial Catalog")));
    }
    text +=
        QStringLiteral(";UID=") + odbcValue(user) + QStringLiteral(";PWD=") + odbcValue(password);
    if (!app.isEmpty())
        text += QStringLiteral(";APP=") + odbcValue(app);
    return text;
}

} // namespace velora::db
