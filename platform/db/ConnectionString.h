#pragma once

#include <QMap>
#include <QString>

namespace velora::db {

// A provider connection string split into its "key=value;" pairs (keys without regard to
// case), and the decisions made from it: which engine, which file or ODBC target.
class ConnectionString {
public:
    static ConnectionString parse(const QString& text);

    QString value(const QString& key) const; // "" when absent
    bool contains(const QString& key) const;

    // "Data Source=(embedded)" selects the embedded SQLite engine.
    bool isEmbedded() const;
    // The embedded database file: "Initial Catalog" resolved against baseDirectory.
    QString embeddedDatabasePath(const QString& baseDirectory) const;
    // The ODBC connection text for QODBC: "DSN=..." strings pass with their credentials,
    // "Provider=SQLOLEDB..." strings become a DRIVER= string for the given driver.
    QString odbcConnectionText(const QString& driver) const;

private:
    QMap<QString, QString> pairs_; // keys upper-cased
    QString original_;
};

} // namespace velora::db
