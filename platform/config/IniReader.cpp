#include "IniReader.h"

#include <QFile>
#include <QStringConverter>
#include <QStringDecoder>

namespace velora::config {

namespace {

bool sameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// "[name]" with optional blanks; the name runs to the last ']' of the line.
std::optional<QStringView> sectionHeader(QStringView line) {
    if (!line.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = line.lastIndexOf(u']');
    if (close < 1)
        return std::nullopt;
    return line.mid(1, close - 1).trimmed();
}

QStringView nextLine(QStringView text, qsizetype& position) {
    const qsizetype start = position;
    qsizetype end = start;
    while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
        ++end;
    position = end;
    if (position < text.size() && text[position] == u'\r')
        ++position;
    if (position < text.size() && text[position] == u'\n')
        ++position;
    return text.mid(start, end - start);
}

} // namespace

std::optional<QString> IniReader::find(QStringView text, const SectionMatcher& sectionMatches,
                                       QStringView key) {
    const QStringView wantedKey = key.trimmed();
    bool inSection = false;
    bool sectionSeen = false;
    qsizetype position = 0;
    while (position < text.size()) {
        const QStringView line = nextLine(text, position).trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (const auto header = sectionHeader(line)) {
            if (sectionSeen)
                return std::nullopt; // only the first matching section counts
            inSection = sectionMatches(*header);
            sectionSeen = inSection;
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals >= 0 && sameName(line.left(equals).trimmed(), wantedKey))
            return line.mid(equals + 1).trimmed().toString();
    }
    return std::nullopt;
}

QString IniReader::readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (const auto encoding = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*encoding);
        return decoder.decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder latin1(QStringConverter::Latin1);
    return latin1.decode(bytes);
}

} // namespace velora::config
