#pragma once

#include <QVariant>

namespace velora::catalogue {

// A partition as the partition chooser offers it. Its fields are variants because the chooser
// hands over whatever its list holds; the ID is kept as a 32-bit integer.
class HXPartition {
public:
    QVariant ID() const { return id_; }
    // Converts to a 32-bit integer (numbers round to the nearest, halves to even) and throws
    // CatalogueError when the value is NULL, not a number, or out of range.
    void setID(const QVariant& value);

    QVariant Name() const { return name_; }
    void setName(const QVariant& value) { name_ = value; }

    QVariant Desc() const { return desc_; }
    void setDesc(const QVariant& value) { desc_ = value; }

private:
    int id_ = 0;
    QVariant name_;
    QVariant desc_;
};

// The conversion used by HXPartition::setID, for any field that holds a 32-bit integer.
int VariantToInt32(const QVariant& value);

} // namespace velora::catalogue
