#pragma once

#include <QString>

namespace velora::explorer {

// Keys separate their segments with ".", so a TransID that contains "." is stored in a key
// with every "." replaced by the character with code 1. After each replaced "." at most 99
// characters are kept, which no real TransID (30 characters at most) reaches. A TransID
// that itself contains code 1 or code 2 gets that character escaped with code 2 in front,
// so that every TransID decodes back to itself. An empty or all-blank text is left as it is.
QString EncodeKeyPart(const QString& text);

// The reverse of EncodeKeyPart: code 1 becomes ".", code 2 keeps the character after it.
QString DecodeKeyPart(const QString& text);

} // namespace velora::explorer
