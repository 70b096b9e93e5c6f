#include "HXPartition.h"

#include "CatalogueError.h"

#include <cmath>
#include <limits>

namespace velora::catalogue {

namespace {

[[noreturn]] void throwTypeMismatch(const QVariant& value) {
    throw CatalogueError(CatalogueErrorNumber::TypeMismatch,
                         QStringLiteral("Type mismatch: \"") + value.toString() +
                             QStringLiteral("\" is not a number"));
}

[[noreturn]] void throwOverflow() {
    throw CatalogueError(CatalogueErrorNumber::Overflow, QStringLiteral("Overflow"));
}

int checkedInt32(long long number) {
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        throwOverflow();
    return static_cast<int>(number);
}

int roundedInt32(double number) {
    if (!std::isfinite(number))
        throwOverflow();
    // The default rounding mode rounds halves to even, as an integer conversion of the suite
    // does ("2.5" gives 2, "3.5" gives 4).
    const double rounded = std::nearbyint(number);
    if (rounded < std::numeric_limits<int>::min() || rounded > std::numeric_limits<int>::max())
        throwOverflow();
    return static_cast<int>(rounded);
}

int textToInt32(const QVariant& value) {
    const QString text = value.toString().trimmed();
    bool ok = false;
    const long long whole = text.toLongLong(&ok);
    if (ok)
        return checkedInt32(whole);
    const double number = text.toDouble(&ok);
    if (!ok || std::isnan(number))
        throwTypeMismatch(value);
    return roundedInt32(number);
}

} // namespace

int VariantToInt32(const QVariant& value) {
    if (value.isNull())
        throw CatalogueError(CatalogueErrorNumber::InvalidUseOfNull,
                             QStringLiteral("Invalid use of Null"));
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return checkedInt32(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong number = value.toULongLong();
        if (number > static_cast<qulonglong>(std::numeric_limits<int>::max()))
            throwOverflow();
        return static_cast<int>(number);
    }
    case QMetaType::Double:
    case QMetaType::Float:
        return roundedInt32(value.toDouble());
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return textToInt32(value);
    default:
        throwTypeMismatch(value);
    }
}

void HXPartition::setID(const QVariant& value) {
    id_ = VariantToInt32(value);
}

} // namespace velora::catalogue
