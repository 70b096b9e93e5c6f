#include "SqliteTextWriter.h"

#include <cstring>

namespace velora::db {

void SqliteTextWriter::put(const QString& text, bool space) {
    if (text.isEmpty())
        return;
    if (!out_.isEmpty()) {
        const QChar last = out_.back();
        const bool wanted =
            (space || spaceRequested_) && last != QLatin1Char(' ') && last != QLatin1Char('(');
        if (wanted || wouldJoin(last, text.front()))
            out_ += QLatin1Char(' ');
    }
    spaceRequested_ = false;
    out_ += text;
}

bool SqliteTextWriter::isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('@') ||
           c == QLatin1Char('#') || c == QLatin1Char('$');
}

bool SqliteTextWriter::isOperatorChar(QChar c) {
    return c.unicode() > 0 && c.unicode() < 128 &&
           std::strchr("<>=!|&*/-+%^~", c.toLatin1()) != nullptr;
}

bool SqliteTextWriter::wouldJoin(QChar last, QChar first) {
    if (isWordChar(last))
        return isWordChar(first) || first == QLatin1Char('\'') || first == QLatin1Char('"');
    if (isOperatorChar(last))
        return isOperatorChar(first);
    return (last == QLatin1Char('\'') || last == QLatin1Char('"')) && first == last;
}

} // namespace velora::db
