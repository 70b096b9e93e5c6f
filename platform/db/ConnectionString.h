#pragma once

#include <QMap>
#include <QString>

namespace velora::db {

// A provider connection string split into its "key=value;" pairs (keys without regard to
// case), and the decisions made from it: which engine, which file or ODBC target. A value may
// be put in double or single quotes (a doubled quote stands for one) or in braces ("}}" for
// one brace), and then holds ";" and blanks at its ends as written.
class ConnectionString {
public:
    static ConnectionString parse(const QString& text);

    // A value as it must be written after "key=" so that parse gives it back whole: as it
    // stands when it holds no ";" and has no blank or quote or brace at its ends, otherwise in
    // double quotes with each double quote doubled.
    static QString quoted(const QString& value);

    QString value(const QString& key) const; // "" when absent
    bool contains(const QString& key) const;

    // "Data Source=(embedded)" selects the embedded SQLite engine.
    bool isEmbedded() const;
    // The embedded database file: "Initial Catalog" resolved against baseDirectory.
    QString embeddedDatabasePath(const QString& baseDirectory) const;
    // The ODBC connection text for QODBC: "DSN=..." strings pass with their credentials,
    // "Provider=SQLOLEDB..." strings become a DRIVER= string for the given driver. Values that
    // need it are put in braces, so they cannot add attributes of their own.
    QString odbcConnectionText(const QString& driver) const;

private:
    // Reads the value that starts at `from` (after the "="); returns where the pair ends.
    static qsizetype readValue(const QString& text, qsizetype from, QString& value);

    QMap<QString, QString> pairs_; // keys upper-cased
};

} // namespace velora::db
