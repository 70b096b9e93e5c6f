#include "PrivateProfile.h"

#include "IniReader.h"

namespace velora::config {

namespace {

// A value written as "text" or 'text' comes back without the enclosing quotes.
QString withoutEnclosingQuotes(const QString& value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

QString PrivateProfile::getString(const QString& file, const QString& section, const QString& key) {
    return getStringFromText(IniReader::readFile(file), section, key);
}

QString PrivateProfile::getStringFromText(QStringView text, const QString& section,
                                          const QString& key) {
    const QStringView wantedSection = QStringView(section).trimmed();
    const auto value = IniReader::find(
        text,
        [wantedSection](QStringView name) {
            return name.compare(wantedSection, Qt::CaseInsensitive) == 0;
        },
        key);
    if (!value)
        return {};
    return withoutEnclosingQuotes(*value).left(kBufferLength - 1);
}

} // namespace velora::config
