#include "Recordset.h"

#include "DbError.h"

namespace velora::db {

Recordset::Recordset(QStringList columns, std::vector<Row> rows)
    : columns_(std::move(columns))
    , rows_(std::move(rows)) {}

void Recordset::moveNext() {
    if (!eof())
        ++position_;
}

int Recordset::fieldIndex(const QString& name) const {
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

const Recordset::Row& Recordset::currentRow() const {
    if (eof())
        throw DbError(ErrorNumber::NoCurrentRecord,
                      QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                     "deleted. Requested operation requires a current record."));
    return rows_[position_];
}

QVariant Recordset::value(const QString& name) const {
    const int index = fieldIndex(name);
    if (index < 0)
        throw DbError(ErrorNumber::ItemNotFound,
                      QStringLiteral("Item cannot be found in the collection corresponding to the "
                                     "requested name or ordinal: ") +
                          name);
    return currentRow()[static_cast<std::size_t>(index)];
}

QVariant Recordset::value(int index) const {
    if (index < 0 || index >= fieldCount())
        throw DbError(ErrorNumber::ItemNotFound,
                      QStringLiteral("Item cannot be found in the collection corresponding to the "
                                     "requested name or ordinal: ") +
                          QString::number(index));
    return currentRow()[static_cast<std::size_t>(index)];
}

QDate Recordset::date(const QString& name) const {
    const QVariant v = value(name);
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

} // namespace velora::db
