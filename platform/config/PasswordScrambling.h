#pragma once

#include <QString>

namespace velora::config {

// The one-byte key with which the suite's configuration tools scramble the SQL password in
// the configuration file. Every tool that reads or writes the file must use the same key.
inline constexpr int kSuiteScramblingKey = 0x5A;

// Unscrambles a stored password: the text is hexadecimal digit pairs, one byte each, read in
// reverse order; byte i (0-based) gives the character ((byte - 2i) xor key), a zero character
// ends the text. Text that is not in that form (odd length, a non-hexadecimal digit, a
// character outside 0 to 255) is returned unchanged, so a password written in plain text
// still works.
QString UnencryptedText(const QString& text);

// The inverse, for tools that write the configuration: UnencryptedText(ScrambledText(p)) == p.
// Throws ConfigError when a character cannot be scrambled (code 0 or above 255, or a password
// too long for its late characters to fit a byte).
QString ScrambledText(const QString& plain);

} // namespace velora::config
