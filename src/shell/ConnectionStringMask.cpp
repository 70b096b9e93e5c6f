#include "ConnectionStringMask.h"

namespace velora::shell {

namespace {

const QString kMask = QStringLiteral("****");

bool isPasswordKey(const QString& key) {
    const QString name = key.trimmed();
    return name.compare(QLatin1String("pwd"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("password"), Qt::CaseInsensitive) == 0;
}

qsizetype nextSemicolon(const QString& text, qsizetype from) {
    const qsizetype at = text.indexOf(QLatin1Char(';'), from);
    return at < 0 ? text.size() : at;
}

// Past the closing brace of a value that starts with '{'; "}}" stands for one brace.
qsizetype pastBraces(const QString& text, qsizetype open) {
    qsizetype i = open + 1;
    while (i < text.size()) {
        if (text[i] == QLatin1Char('}')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('}')) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return text.size(); // unterminated: the rest is the value
}

// Past the closing quote of a value that starts with a quote; a doubled quote stands for one.
qsizetype pastQuotes(const QString& text, qsizetype open) {
    const QChar quote = text[open];
    qsizetype i = open + 1;
    while (i < text.size()) {
        if (text[i] == quote) {
            if (i + 1 < text.size() && text[i + 1] == quote) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return text.size();
}

// Where the value starting at `start` ends: at the ';' that closes the pair, or the end.
qsizetype endOfValue(const QString& text, qsizetype start) {
    if (start >= text.size())
        return start;
    const QChar first = text[start];
    if (first == QLatin1Char('{'))
        return nextSemicolon(text, pastBraces(text, start));
    if (first == QLatin1Char('"') || first == QLatin1Char('\''))
        return nextSemicolon(text, pastQuotes(text, start));
    return nextSemicolon(text, start);
}

} // namespace

QString maskPassword(const QString& connectionString) {
    const QString& text = connectionString;
    QString masked;
    masked.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype equals = text.indexOf(QLatin1Char('='), i);
        const qsizetype semicolon = nextSemicolon(text, i);
        if (equals < 0 || equals > semicolon) { // a part without a value
            masked += text.mid(i, semicolon - i + 1);
            i = semicolon + 1;
            continue;
        }
        masked += text.mid(i, equals - i + 1);
        qsizetype start = equals + 1;
        while (start < text.size() && text[start].isSpace())
            masked += text[start++];
        const qsizetype end = endOfValue(text, start);
        masked += isPasswordKey(text.mid(i, equals - i)) ? kMask : text.mid(start, end - start);
        masked += text.mid(end, 1); // the closing ';', if any
        i = end + 1;
    }
    return masked;
}

} // namespace velora::shell
