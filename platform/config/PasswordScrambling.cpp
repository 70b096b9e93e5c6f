#include "PasswordScrambling.h"

#include "ConfigError.h"

#include <QByteArray>
#include <algorithm>
#include <limits>
#include <optional>

namespace velora::config {

namespace {

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

std::optional<QByteArray> decodedPairs(const QString& text) {
    if (text.size() % 2 != 0)
        return std::nullopt;
    QByteArray bytes;
    bytes.reserve(text.size() / 2);
    for (qsizetype k = 0; k < text.size(); k += 2) {
        const int high = hexDigit(text[k]);
        const int low = hexDigit(text[k + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.append(static_cast<char>(high * 16 + low));
    }
    return bytes;
}

bool fitsInt16(qint64 value) {
    return value >= std::numeric_limits<qint16>::min() &&
           value <= std::numeric_limits<qint16>::max();
}

// The arithmetic is 16-bit signed, as in the suite's tools: an offset that overflows is a
// failure like a character outside a byte.
std::optional<QString> unscrambled(const QByteArray& reversed) {
    QString result;
    for (qsizetype i = 0; i < reversed.size(); ++i) {
        const qint64 offset = 2 * static_cast<qint64>(i);
        const qint64 shifted = static_cast<quint8>(reversed[i]) - offset;
        if (!fitsInt16(offset) || !fitsInt16(shifted))
            return std::nullopt;
        const qint64 c = shifted ^ kSuiteScramblingKey;
        if (c < 0 || c > 255)
            return std::nullopt;
        if (c == 0)
            break;
        result.append(QChar(static_cast<char16_t>(c)));
    }
    return result;
}

} // namespace

QString UnencryptedText(const QString& text) {
    if (text.isEmpty())
        return {};
    auto bytes = decodedPairs(text);
    if (!bytes)
        return text;
    std::reverse(bytes->begin(), bytes->end());
    return unscrambled(*bytes).value_or(text);
}

QString ScrambledText(const QString& plain) {
    QByteArray bytes;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const int code = plain[i].unicode();
        const qint64 scrambled = (code ^ kSuiteScramblingKey) + 2 * static_cast<qint64>(i);
        if (code == 0 || code > 255 || scrambled > 255)
            throw ConfigError(ConfigError::kInvalidArgument,
                              QStringLiteral("The password cannot be scrambled: the character "
                                             "at position %1 cannot be stored.")
                                  .arg(i + 1));
        bytes.append(static_cast<char>(scrambled));
    }
    std::reverse(bytes.begin(), bytes.end());
    return QString::fromLatin1(bytes.toHex().toUpper());
}

} // namespace velora::config
