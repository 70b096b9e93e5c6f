#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace velora::db {

// A forward-only, read-only result. Columns are read by name without regard to case; a NULL
// stays an invalid-but-null QVariant, distinct from 0 and from "".
class Recordset {
public:
    using Row = std::vector<QVariant>;

    Recordset() = default;
    Recordset(QStringList columns, std::vector<Row> rows);

    bool eof() const { return position_ >= rows_.size(); }
    void moveNext();
    std::size_t recordCount() const { return rows_.size(); }

    int fieldCount() const { return static_cast<int>(columns_.size()); }
    const QStringList& columnNames() const { return columns_; }
    int fieldIndex(const QString& name) const; // -1 when absent

    QVariant value(const QString& name) const;
    QVariant value(int index) const;
    bool isNull(const QString& name) const { return value(name).isNull(); }
    QString text(const QString& name) const { return value(name).toString(); }
    // A stored date ("YYYY-MM-DD", optionally with a time part); null QDate for NULL.
    QDate date(const QString& name) const;

private:
    const Row& currentRow() const;

    QStringList columns_;
    std::vector<Row> rows_;
    std::size_t position_ = 0;
};

} // namespace velora::db
