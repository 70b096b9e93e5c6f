#include "ExplorerKeyPart.h"

#include <algorithm>

namespace velora::explorer {

namespace {

const QChar kDotMark(0x01);
const QChar kEscape(0x02);
const QChar kDot(u'.');
constexpr qsizetype kKeptAfterDot = 99;

bool isBlank(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == u' '; });
}

// Counts the plain characters written after the latest ".", so that encoding and decoding
// cut a long tail at the same plain character whatever escapes the encoded form holds.
class TailLimit {
public:
    // False once 99 characters followed a "."; consumes one character otherwise.
    bool take() {
        if (left_ == 0)
            return false;
        if (left_ > 0)
            --left_;
        return true;
    }
    void dotWritten() { left_ = left_ < 0 ? kKeptAfterDot : std::min(left_, kKeptAfterDot); }

private:
    qsizetype left_ = -1;
};

} // namespace

QString EncodeKeyPart(const QString& text) {
    if (isBlank(text))
        return text;
    QString result;
    result.reserve(text.size());
    TailLimit limit;
    for (const QChar c : text) {
        if (!limit.take())
            break;
        if (c == kDot) {
            result += kDotMark;
            limit.dotWritten();
            continue;
        }
        if (c == kDotMark || c == kEscape)
            result += kEscape;
        result += c;
    }
    return result;
}

QString DecodeKeyPart(const QString& text) {
    if (isBlank(text))
        return text;
    QString result;
    result.reserve(text.size());
    TailLimit limit;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!limit.take())
            break;
        QChar c = text.at(i);
        if (c == kDotMark) {
            result += kDot;
            limit.dotWritten();
            continue;
        }
        if (c == kEscape && i + 1 < text.size())
            c = text.at(++i);
        result += c;
    }
    return result;
}

} // namespace velora::explorer
