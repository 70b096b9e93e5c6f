#include "SqliteFunctions.h"

#include <QString>
#include <charconv>
#include <cstring>
#include <sqlite3.h>
#include <string>

namespace velora::db {

namespace {

int trimmedLength(const char* text, int length) {
    while (length > 0 && text[length - 1] == ' ')
        --length;
    return length;
}

int asciiLower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

void appendFolded(const QString& text, std::string& out) {
    QString folded;
    folded.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        folded.append(QChar::fromUcs4(QChar::toCaseFolded(c)));
    }
    const QByteArray utf8 = folded.toUtf8();
    out.append(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

int collateTextCi(void*, int aLength, const void* a, int bLength, const void* b) {
    return compareTextCi(static_cast<const char*>(a), aLength, static_cast<const char*>(b),
                         bLength);
}

// Reads a text operand of "+" as a number the way SQL Server converts varchar to a number.
bool textToNumber(const unsigned char* text, int length, double& out) {
    std::string s(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length));
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return false;
    const auto last = s.find_last_not_of(" \t");
    s = s.substr(first, last - first + 1);
    const char* begin = s.c_str();
    if (*begin == '+')
        ++begin;
    const auto [ptr, ec] = std::from_chars(begin, s.c_str() + s.size(), out);
    return ec == std::errc() && ptr == s.c_str() + s.size();
}

void setNumericResult(sqlite3_context* context, sqlite3_value* a, sqlite3_value* b, double x,
                      double y) {
    if (sqlite3_value_numeric_type(a) == SQLITE_INTEGER &&
        sqlite3_value_numeric_type(b) == SQLITE_INTEGER) {
        sqlite3_int64 result = 0;
        if (!__builtin_add_overflow(sqlite3_value_int64(a), sqlite3_value_int64(b), &result)) {
            sqlite3_result_int64(context, result);
            return;
        }
    }
    sqlite3_result_double(context, x + y);
}

bool operandAsNumber(sqlite3_value* v, double& out) {
    if (sqlite3_value_type(v) == SQLITE_TEXT)
        return textToNumber(sqlite3_value_text(v), sqlite3_value_bytes(v), out);
    out = sqlite3_value_double(v);
    return true;
}

// SQL Server's "+": text + text concatenates; otherwise numbers add, a text operand being
// converted to a number (an error when it is not one); NULL with anything is NULL.
void vlAdd(sqlite3_context* context, int, sqlite3_value** argv) {
    sqlite3_value* a = argv[0];
    sqlite3_value* b = argv[1];
    if (sqlite3_value_type(a) == SQLITE_NULL || sqlite3_value_type(b) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    if (sqlite3_value_type(a) == SQLITE_TEXT && sqlite3_value_type(b) == SQLITE_TEXT) {
        std::string joined(reinterpret_cast<const char*>(sqlite3_value_text(a)),
                           static_cast<std::size_t>(sqlite3_value_bytes(a)));
        joined.append(reinterpret_cast<const char*>(sqlite3_value_text(b)),
                      static_cast<std::size_t>(sqlite3_value_bytes(b)));
        sqlite3_result_text(context, joined.data(), static_cast<int>(joined.size()),
                            SQLITE_TRANSIENT);
        return;
    }
    double x = 0;
    double y = 0;
    if (!operandAsNumber(a, x) || !operandAsNumber(b, y)) {
        sqlite3_result_error(context,
                             "Conversion failed when converting the varchar value to "
                             "a numeric data type.",
                             -1);
        return;
    }
    setNumericResult(context, a, b, x, y);
}

// Month() and Year() of a stored date ("YYYY-MM-DD..."); NULL stays NULL.
void datePart(sqlite3_context* context, sqlite3_value* v, int offset, int length) {
    if (sqlite3_value_type(v) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const char* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
    const int bytes = sqlite3_value_bytes(v);
    int value = 0;
    if (bytes < 10 || text[4] != '-' || text[7] != '-' ||
        std::from_chars(text + offset, text + offset + length, value).ptr !=
            text + offset + length) {
        sqlite3_result_error(context,
                             "Conversion failed when converting date and/or time from "
                             "character string.",
                             -1);
        return;
    }
    sqlite3_result_int(context, value);
}

void monthFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    datePart(context, argv[0], 5, 2);
}

void yearFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    datePart(context, argv[0], 0, 4);
}

void dayFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    datePart(context, argv[0], 8, 2);
}

} // namespace

int compareTextCi(const char* a, int aLength, const char* b, int bLength) {
    aLength = trimmedLength(a, aLength);
    bLength = trimmedLength(b, bLength);
    const int common = aLength < bLength ? aLength : bLength;
    for (int i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (ca >= 0x80 || cb >= 0x80) {
            // Beyond ASCII, fold case with Qt's Unicode tables; the equal prefix stays equal.
            return QString::fromUtf8(a, aLength)
                .compare(QString::fromUtf8(b, bLength), Qt::CaseInsensitive);
        }
        const int diff = asciiLower(ca) - asciiLower(cb);
        if (diff != 0)
            return diff;
    }
    return aLength - bLength;
}

void foldTextCi(const char* text, int length, std::string& out) {
    length = trimmedLength(text, length);
    out.resize(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            // The rest goes through the same UTF-8 decoding and per-character folding that
            // QString's case-insensitive comparison applies.
            out.resize(static_cast<std::size_t>(i));
            appendFolded(QString::fromUtf8(text + i, length - i), out);
            return;
        }
        out[static_cast<std::size_t>(i)] = static_cast<char>(asciiLower(c));
    }
}

int registerSqliteFunctions(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    int rc =
        sqlite3_create_collation_v2(db, "TEXTCI", SQLITE_UTF8, nullptr, collateTextCi, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "vl_add", 2, flags, nullptr, vlAdd, nullptr, nullptr,
                                        nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "Month", 1, flags, nullptr, monthFunction, nullptr,
                                        nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "Year", 1, flags, nullptr, yearFunction, nullptr,
                                        nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "Day", 1, flags, nullptr, dayFunction, nullptr, nullptr,
                                        nullptr);
    return rc;
}

} // namespace velora::db
