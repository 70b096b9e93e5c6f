#pragma once

#include <QString>

namespace velora::catalogue {

// True when the text is a whole number as statements may splice it: an optional minus sign and
// decimal digits, nothing else ("--100", "5 OR 1=1" and "" are not).
bool IsSqlNumber(const QString& text);

// The text of a whole number, checked before it is spliced into a statement. Throws
// CatalogueError 13 (type mismatch) for anything that is not one, so that no text spliced as a
// number can end a statement or start a comment.
QString SqlNumber(const QString& text);

} // namespace velora::catalogue
