#pragma once

#include "AdminCommand.h"

#include <QVariant>

namespace velora::db {
class Recordset;
}

namespace velora::admin {

// "sql FILE STATEMENT": one statement of the program's dialect on the embedded engine, through
// the same Connection the program uses, read as the program would send it: a date typed in the
// regional form (the locale of $VELORA_LOCALE or the system) means what it means there. Rows
// print as tab-separated text under a header line.
class SqlCommand final : public AdminCommand {
public:
    QString name() const override { return QStringLiteral("sql"); }
    QString usage() const override;
    int run(const QStringList& arguments, QTextStream& out) override;

    // The embedded connection string for a database file, as start-up builds it.
    static QString connectionStringFor(const QString& absolutePath);
    // One value as printed: NULL for NULL; tab, line breaks and backslash escaped so that every
    // row stays on one line.
    static QString formatValue(const QVariant& value);

private:
    // The regional component's date form; AdminError for a locale that does not exist.
    static QString regionalDateFormat();
    static void printRows(db::Recordset& rows, QTextStream& out);
};

} // namespace velora::admin
